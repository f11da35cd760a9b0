#include "TDGCAudio.h"

#include "AudioDevice.h"
#include "SoundError.h"
#include "TDGCSoundBuffer.h"

#include <new>

namespace mirelo {

TDGCAudio::TDGCAudio() = default;

TDGCAudio::~TDGCAudio() {
    ReleaseBuffers();
    device_.reset();
    if (library_)
        library_->RemoveListener(this);
}

void TDGCAudio::SetUp() {
    if (!device_)
        device_ = std::make_unique<AudioDevice>();
    if (library_)
        BuildBuffers();
}

void TDGCAudio::SetSoundLibrary(TDGCSoundLib* library) {
    ReleaseBuffers();
    if (library_)
        library_->RemoveListener(this);
    library_ = library;
    if (library_)
        library_->AddListener(this);
    if (device_ && library_)
        BuildBuffers();
}

TDGCSoundBuffer* TDGCAudio::Sound(int index) const {
    if (buffers_.empty())
        throw SoundError("A library must be assigned to SoundLibrary");
    return buffers_.at(static_cast<std::size_t>(index)).get();
}

void TDGCAudio::RebuildBuffers() {
    ReleaseBuffers();
    if (library_ && !library_->FileName().empty())
        library_->Reload();
    BuildBuffers();
}

void TDGCAudio::BuildBuffers() {
    ReleaseBuffers();
    if (!library_ || library_->Count() == 0 || !device_)
        return;
    const int count = library_->Count();
    try {
        buffers_.reserve(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        throw SoundError("Failed to allocate memory for Sound Buffers");
    }
    try {
        for (int i = 0; i < count; ++i) {
            const SoundEntry sound = library_->Sounds.Entry(i);
            auto buffer = std::make_unique<TDGCSoundBuffer>(*device_, sound);
            buffer->SetPan(sound.Pan);
            buffer->SetVolume(sound.Volume);
            buffer->OnRestore = [this] { RebuildBuffers(); };
            buffers_.push_back(std::move(buffer));
        }
    } catch (...) {
        // Half a list would let some sounds play and others fail; keep none.
        ReleaseBuffers();
        throw;
    }
    // Samples read from a file now live only in the buffers; a rebuild reads
    // the file again.
    if (!library_->FileName().empty())
        library_->Sounds.Clear();
}

void TDGCAudio::ReleaseBuffers() {
    buffers_.clear();
}

void TDGCAudio::SoundLibraryDestroyed(TDGCSoundLib* library) {
    if (library != library_)
        return;
    ReleaseBuffers();
    library_ = nullptr;
}

} // namespace mirelo
