#include "CutFontLoader.h"

#include "SoundLibraries.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelo {

namespace {

// The original file, read at any offset from any thread.
CutSoundFont::Reader ReaderOf(int fd) {
    return [fd](std::uint64_t offset, void* to, std::size_t count) {
        auto* out = static_cast<char*>(to);
        while (count > 0) {
            const ssize_t n = ::pread(fd, out, count, static_cast<off_t>(offset));
            if (n <= 0)
                return false;
            out += n;
            offset += static_cast<std::uint64_t>(n);
            count -= static_cast<std::size_t>(n);
        }
        return true;
    };
}

// A cut font: the original is opened again each time the synthesiser opens
// the cut one, as it would open a file of its own.
struct Entry {
    std::string original;
    std::optional<CutSoundFont> font;
};

// The loader's callbacks carry no data of their own, hence one table for the process.
std::mutex registryLock;
std::map<std::string, std::shared_ptr<const Entry>> registry;
std::atomic<unsigned> lastNumber{0};

std::shared_ptr<const Entry> Registered(const char* name) {
    std::lock_guard lock(registryLock);
    const auto it = registry.find(name);
    return it == registry.end() ? nullptr : it->second;
}

// One open file: a cut font, or any other file as the library would read it.
struct OpenFile {
    std::shared_ptr<const Entry> cut;
    int fd = -1;
    std::FILE* plain = nullptr;
    std::uint64_t position = 0;
};

void* OpenCallback(const char* name) {
    if (!name)
        return nullptr;
    if (auto cut = Registered(name)) {
        const int fd = ::open(cut->original.c_str(), O_RDONLY | O_CLOEXEC);
        return fd < 0 ? nullptr : new OpenFile{std::move(cut), fd, nullptr, 0};
    }
    std::FILE* plain = std::fopen(name, "rb");
    return plain ? new OpenFile{nullptr, -1, plain, 0} : nullptr;
}

int ReadCallback(void* buffer, fluid_long_long_t count, void* handle) {
    auto* file = static_cast<OpenFile*>(handle);
    if (count < 0)
        return FLUID_FAILED;
    const auto n = static_cast<std::size_t>(count);
    if (file->plain)
        return std::fread(buffer, 1, n, file->plain) == n ? FLUID_OK : FLUID_FAILED;
    if (!file->cut->font->Read(ReaderOf(file->fd), file->position, buffer, n))
        return FLUID_FAILED;
    file->position += n;
    return FLUID_OK;
}

int SeekCallback(void* handle, fluid_long_long_t offset, int origin) {
    auto* file = static_cast<OpenFile*>(handle);
    if (file->plain)
        return ::fseeko(file->plain, static_cast<off_t>(offset), origin) == 0 ? FLUID_OK
                                                                              : FLUID_FAILED;
    const auto size = static_cast<fluid_long_long_t>(file->cut->font->Size());
    fluid_long_long_t base = 0;
    if (origin == SEEK_CUR)
        base = static_cast<fluid_long_long_t>(file->position);
    else if (origin == SEEK_END)
        base = size;
    else if (origin != SEEK_SET)
        return FLUID_FAILED;
    const fluid_long_long_t to = base + offset;
    if (to < 0 || to > size)
        return FLUID_FAILED;
    file->position = static_cast<std::uint64_t>(to);
    return FLUID_OK;
}

fluid_long_long_t TellCallback(void* handle) {
    auto* file = static_cast<OpenFile*>(handle);
    if (file->plain)
        return ::ftello(file->plain);
    return static_cast<fluid_long_long_t>(file->position);
}

int CloseCallback(void* handle) {
    auto* file = static_cast<OpenFile*>(handle);
    const int result = file->plain ? std::fclose(file->plain) : ::close(file->fd);
    delete file;
    return result == 0 ? FLUID_OK : FLUID_FAILED;
}

} // namespace

std::unique_ptr<CutFontFile> CutFontFile::Make(const std::string& soundFont,
                                               const PresetChoices& keep) {
    auto entry = std::make_shared<Entry>();
    entry->original = soundFont;
    {
        const int fd = ::open(soundFont.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            entry->font =
                CutSoundFont::Make(ReaderOf(fd), static_cast<std::uint64_t>(info.st_size), keep);
        ::close(fd);
    }
    if (!entry->font)
        return nullptr;
    // The original's name first, so that the library's messages still say which font it is.
    const int presets = entry->font->Presets();
    std::string name = soundFont + "#cut" + std::to_string(++lastNumber) + "-" +
                       std::to_string(presets) + "-presets";
    {
        std::lock_guard lock(registryLock);
        registry[name] = std::move(entry);
    }
    return std::unique_ptr<CutFontFile>(new CutFontFile(std::move(name), presets));
}

CutFontFile::~CutFontFile() {
    std::lock_guard lock(registryLock);
    registry.erase(name_);
}

bool InstallCutFontLoader(const FluidCalls& lib, fluid_settings_t* settings, fluid_synth_t* synth) {
    if (!lib.new_fluid_defsfloader || !lib.fluid_sfloader_set_callbacks ||
        !lib.fluid_synth_add_sfloader || !lib.delete_fluid_sfloader)
        return false;
    fluid_sfloader_t* loader = lib.new_fluid_defsfloader(settings);
    if (!loader)
        return false;
    if (lib.fluid_sfloader_set_callbacks(loader, OpenCallback, ReadCallback, SeekCallback,
                                         TellCallback, CloseCallback) != FLUID_OK) {
        lib.delete_fluid_sfloader(loader);
        return false;
    }
    // The synthesiser owns it from here, and asks it before its own.
    lib.fluid_synth_add_sfloader(synth, loader);
    return true;
}

} // namespace mirelo
