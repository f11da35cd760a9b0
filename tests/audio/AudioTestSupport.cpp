#include "AudioTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <sys/inotify.h>
#include <unistd.h>

namespace mirelo::test {

DiskOutput::DiskOutput() {
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", Path().toLocal8Bit());
    // A millisecond between periods still runs about ten times faster than
    // real time, without filling the disk or a core while a test waits.
    qputenv("SDL_DISKAUDIODELAY", "1");
}

DiskOutput::~DiskOutput() {
    qunsetenv("SDL_DISKAUDIOFILE");
}

std::vector<std::int16_t> DiskOutput::Samples() const {
    QFile file(Path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<std::int16_t> out(static_cast<std::size_t>(bytes.size()) / sizeof(std::int16_t));
    std::memcpy(out.data(), bytes.constData(), out.size() * sizeof(std::int16_t));
    return out;
}

OpenCounter::OpenCounter(const QString& path)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
      watch_(fd_ < 0 ? -1 : inotify_add_watch(fd_, path.toLocal8Bit().constData(), IN_OPEN)) {}

OpenCounter::~OpenCounter() {
    if (fd_ >= 0)
        ::close(fd_);
}

int OpenCounter::Opens() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0)
            return opens_;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            opens_ += (event->mask & IN_OPEN) != 0;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

namespace {

void Be32(QByteArray& out, std::uint32_t v) {
    for (int i = 3; i >= 0; --i)
        out.append(static_cast<char>(v >> (8 * i)));
}

} // namespace

void WriteTune(const QString& path, int key, int beats, int program) {
    const int ticks = beats * 480;
    QByteArray track;
    auto delta = [&track](int v) {
        char bytes[4];
        int n = 0;
        bytes[n++] = static_cast<char>(v & 0x7f);
        while (v >>= 7)
            bytes[n++] = static_cast<char>((v & 0x7f) | 0x80);
        while (n > 0)
            track.append(bytes[--n]);
    };
    delta(0);
    track.append("\xc0", 1).append(static_cast<char>(program));
    delta(0);
    track.append("\x90", 1).append(static_cast<char>(key)).append(static_cast<char>(100));
    delta(ticks);
    track.append("\x80", 1).append(static_cast<char>(key)).append(static_cast<char>(0));
    delta(0);
    track.append("\xff\x2f\x00", 3);

    QByteArray file("MThd", 4);
    Be32(file, 6);
    file.append("\x00\x00\x00\x01\x01\xe0", 6); // format 0, one track, 480 ticks a beat
    file.append("MTrk", 4);
    Be32(file, static_cast<std::uint32_t>(track.size()));
    file.append(track);
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(file);
}

namespace {

// Whether `out` holds exactly the clips at `starts`, added, and silence elsewhere.
bool Matches(std::span<const std::int16_t> out,
             const std::vector<std::span<const std::int16_t>>& clips,
             const std::vector<int>& starts, int channels) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int frame = static_cast<int>(i) / channels;
        std::int32_t expected = 0;
        for (std::size_t c = 0; c < clips.size(); ++c) {
            const int at = frame - starts[c];
            const std::size_t index = static_cast<std::size_t>(at) * channels + i % channels;
            if (at >= 0 && index < clips[c].size())
                expected = std::clamp<std::int32_t>(expected + clips[c][index], -32768, 32767);
        }
        if (out[i] != expected)
            return false;
    }
    return true;
}

int FirstSound(std::span<const std::int32_t> samples, int channels) {
    const auto it =
        std::find_if(samples.begin(), samples.end(), [](std::int32_t s) { return s != 0; });
    return it == samples.end() ? -1 : static_cast<int>(it - samples.begin()) / channels;
}

} // namespace

std::vector<int> FindPlacement(std::span<const std::int16_t> out,
                               const std::vector<std::span<const std::int16_t>>& clips,
                               int channels, int window) {
    // Each clip in turn: it starts either with the one before (both asked for
    // within one period) or where what is left of the output first sounds,
    // less the clip's own silent opening.
    std::vector<int> starts;
    std::function<bool(std::vector<std::int32_t>&)> place = [&](std::vector<std::int32_t>& rest) {
        const std::size_t c = starts.size();
        if (c == clips.size())
            return Matches(out, clips, starts, channels);
        const std::vector<std::int32_t> clip(clips[c].begin(), clips[c].end());
        const int heard = FirstSound(rest, channels);
        const int silent = FirstSound(clip, channels);
        if (heard < 0 || silent < 0)
            return false;
        std::vector<int> candidates{heard - silent};
        if (!starts.empty())
            candidates.push_back(starts.back());
        for (int s : candidates) {
            if (s < 0 || (!starts.empty() && (s < starts.back() || s > starts.back() + window)))
                continue;
            std::vector<std::int32_t> left = rest;
            for (std::size_t i = 0; i < clip.size(); ++i) {
                const std::size_t at = static_cast<std::size_t>(s) * channels + i;
                if (at < left.size())
                    left[at] -= clip[i];
            }
            starts.push_back(s);
            if (place(left))
                return true;
            starts.pop_back();
        }
        return false;
    };
    std::vector<std::int32_t> all(out.begin(), out.end());
    return place(all) ? starts : std::vector<int>{};
}

double ToneEnergy(std::span<const std::int16_t> out, int channels, int rate, double frequency,
                  int frames) {
    // Goertzel's filter: the power of one frequency without a whole transform.
    int total = static_cast<int>(out.size()) / channels;
    // The device runs on a little after the music stops; skip that silence.
    while (total > 0 && out[static_cast<std::size_t>(total - 1) * channels] == 0)
        --total;
    const int from = std::max(0, total - frames);
    const double w = 2.0 * std::numbers::pi * frequency / rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0;
    double s2 = 0.0;
    for (int f = from; f < total; ++f) {
        const double s = out[static_cast<std::size_t>(f) * channels] + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

} // namespace mirelo::test
