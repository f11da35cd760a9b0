#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace mirelo::test {

// Sends the sound device's output to a file of its own: every device opened
// while this lives writes, through SDL's disk driver, the exact mixed stream
// (16-bit, interleaved, at the rate the mixer asked for).
class DiskOutput {
public:
    DiskOutput();
    ~DiskOutput();
    // Read once the device is closed, so the file is complete.
    std::vector<std::int16_t> Samples() const;
    QString Path() const { return dir_.filePath(QStringLiteral("out.raw")); }

private:
    QTemporaryDir dir_;
};

// Counts the openings of one file, by this process or any other, from the
// moment this is made: how a test sees whether the sound font is read at all.
class OpenCounter {
public:
    explicit OpenCounter(const QString& path);
    ~OpenCounter();
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    bool Ok() const { return watch_ >= 0; }
    // The openings so far; does not wait.
    int Opens();

private:
    int fd_ = -1;
    int watch_ = -1;
    int opens_ = 0;
};

// Runs the event loop until `done` or `timeoutMs`; false on timeout.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// A one-note tune, General MIDI `program`, `beats` quarter notes at 120 bpm
// (480 ticks each) with the note held to the end.
void WriteTune(const QString& path, int key, int beats, int program = 79);

// Where in `out` the sounds `clips` were placed, clip i starting at frame
// starts[i], each in full, added together, silence elsewhere. Empty when no
// placement within `window` frames of each other matches exactly.
std::vector<int> FindPlacement(std::span<const std::int16_t> out,
                               const std::vector<std::span<const std::int16_t>>& clips,
                               int channels, int window);

// Energy of `frequency` in the left channel of the last `frames` frames
// before the closing silence.
double ToneEnergy(std::span<const std::int16_t> out, int channels, int rate, double frequency,
                  int frames);

inline constexpr int DeviceRate = 44100;
inline constexpr int DeviceChannels = 2;

} // namespace mirelo::test
