#pragma once

#include "TDGCSoundLib.h"

#include <memory>
#include <vector>

namespace mirelo {

class AudioDevice;
class TDGCSoundBuffer;

// Plays the sounds of a library: holds the sound device and one ready buffer per
// sound of `SoundLibrary`, in library order.
class TDGCAudio final : private TDGCSoundLib::Listener {
public:
    TDGCAudio();
    ~TDGCAudio();
    TDGCAudio(const TDGCAudio&) = delete;
    TDGCAudio& operator=(const TDGCAudio&) = delete;

    // Opens the sound device, then builds the buffers when a library is set.
    // Throws SoundError: "Failed to Create DirectSound" with the device's reason,
    // or a buffer-building message.
    void SetUp();

    // Releases the buffers, keeps the reference and, once the device exists,
    // builds the buffers of the new library. The reference is cleared when the
    // library goes away.
    void SetSoundLibrary(TDGCSoundLib* library);
    TDGCSoundLib* SoundLibrary() const { return library_; }

    // The buffer of library sound `index`. Throws "A library must be assigned to
    // SoundLibrary" when there are no buffers.
    TDGCSoundBuffer* Sound(int index) const;
    int BufferCount() const { return static_cast<int>(buffers_.size()); }

    // Every buffer's on-restore handler: all buffers anew, the library re-read
    // first when it came from a file.
    void RebuildBuffers();

    // Null until SetUp succeeded.
    AudioDevice* Device() const { return device_.get(); }

private:
    void BuildBuffers();
    void ReleaseBuffers();
    void SoundLibraryDestroyed(TDGCSoundLib* library) override;

    TDGCSoundLib* library_ = nullptr;
    std::unique_ptr<AudioDevice> device_;
    std::vector<std::unique_ptr<TDGCSoundBuffer>> buffers_;
};

} // namespace mirelo
