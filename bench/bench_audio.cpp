// Speed of the sound: the mixer runs once per device period on the device's
// thread, and must leave the machine most of that period; a sound request and
// the 10 ms tick's music step run on the window's thread and must not allocate.
#include "AllocationCounter.h"
#include "AudioDevice.h"
#include "FullSound.h"
#include "MidiSequencer.h"
#include "TDGCSoundBuffer.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>
#include <vector>

namespace {

using mirelo::FullSound;
using mirelo::bench::Allocations;
using mirelo::bench::ReportAllocations;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

const char* const Tunes[] = {"ferral.mid", "gokuraku.mid", "mirelo.mid", "gisors.mid"};

// One device period of mixing with a tune and all three effects sounding. The
// "load_%" counter is the share of the period the mix takes; it must stay under 10.
void BM_MixPeriod(benchmark::State& state) {
    FullSound sound(QStringLiteral(MIRELO_TUNES_DIR));
    mirelo::AudioDevice* device = sound.Audio().Device();
    if (!device || !sound.Sequencer()) {
        state.SkipWithError("no sound device or no sound font");
        return;
    }
    QString error;
    sound.SelectedMusic(QString::fromLatin1(Tunes[state.range(0)]), &error);
    const int frames = device->PeriodFrames();
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames * device->Channels()));
    // Holding the lock keeps the device's own thread out, as the callback would.
    mirelo::DeviceLock lock(*device);
    long period = 0;
    std::chrono::nanoseconds mixing{0};
    const long before = Allocations();
    for (auto _ : state) {
        // Every fifth period all three effects start again, so all are always sounding.
        if (period++ % 5 == 0) {
            for (int i = 0; i < 3; ++i)
                sound.PlayEffect(i);
        }
        const auto start = std::chrono::steady_clock::now();
        device->Mix(out.data(), frames);
        mixing += std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(out.data());
    }
    ReportAllocations(state, before);
    const double periodSeconds = static_cast<double>(frames) / device->Rate();
    state.counters["load_%"] = 100.0 * std::chrono::duration<double>(mixing).count() /
                               (static_cast<double>(state.iterations()) * periodSeconds);
    state.counters["period_ms"] = periodSeconds * 1000.0;
    state.SetLabel(Tunes[state.range(0)]);
}
BENCHMARK(BM_MixPeriod)->DenseRange(0, 3)->ArgName("tune")->Unit(benchmark::kMicrosecond);

// A sound request: stop, rewind, play, under the device lock.
void BM_PlayRequest(benchmark::State& state) {
    FullSound sound(QStringLiteral(MIRELO_TUNES_DIR));
    if (sound.Audio().BufferCount() < 3) {
        state.SkipWithError("no sound device");
        return;
    }
    const long before = Allocations();
    for (auto _ : state)
        sound.PlayEffect(2);
    ReportAllocations(state, before);
}
BENCHMARK(BM_PlayRequest);

// The timer's music step while a tune plays: the end test's position queries,
// and whether music is still possible (the sound font loads late).
void BM_MusicStep(benchmark::State& state) {
    FullSound sound(QStringLiteral(MIRELO_TUNES_DIR));
    QString error;
    if (!sound.SelectedMusic(FullSound::DefaultTune, &error)) {
        state.SkipWithError("no music");
        return;
    }
    const long before = Allocations();
    for (auto _ : state) {
        sound.MusicStep();
        benchmark::DoNotOptimize(sound.MusicPossible());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_MusicStep);

// Start-up as the window's thread sees it. The constructor returns at once
// (the time measured); "ready_ms" is when the device is open, which the window
// first asks about at its first paint; "music_ms" is what music costs once it
// is wanted: the checks, the sound font and the default tune.
void BM_StartUp(benchmark::State& state) {
    double ready = 0;
    double music = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        FullSound sound(QStringLiteral(MIRELO_TUNES_DIR), FullSound::DefaultSoundFont, 1h);
        const auto made = Clock::now();
        sound.WaitReady();
        const auto readyAt = Clock::now();
        sound.WaitMusic();
        state.SetIterationTime(std::chrono::duration<double>(made - start).count());
        ready += Ms(readyAt - start);
        music += Ms(Clock::now() - readyAt);
        if (!sound.MusicCanPlay())
            state.SkipWithError("no music");
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["ready_ms"] = ready / n;
    state.counters["music_ms"] = music / n;
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// From a sound request to the mixer's first frames of it: with the device
// closed for being idle (0), it is opened first; with it open (1), the request
// waits for the next period.
void BM_FirstSound(benchmark::State& state) {
    FullSound sound(QStringLiteral(MIRELO_TUNES_DIR));
    mirelo::AudioDevice* device = sound.Audio().Device();
    if (!device || sound.Audio().BufferCount() < 3) {
        state.SkipWithError("no sound device");
        return;
    }
    const bool keepOpen = state.range(0) == 1;
    device->SetIdleTime(keepOpen ? std::chrono::milliseconds(1h) : 1ms);
    mirelo::TDGCSoundBuffer* refused = sound.Audio().Sound(mirelo::SoundRefused);
    for (auto _ : state) {
        if (!keepOpen) {
            while (device->Running())
                std::this_thread::sleep_for(1ms);
            // Closing waits out two periods of the device; a request in that
            // time waits for it too.
            std::this_thread::sleep_for(60ms);
        }
        const auto start = Clock::now();
        sound.PlayEffect(mirelo::SoundRefused);
        while (refused->PositionFrames() == 0)
            std::this_thread::yield();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        while (refused->Playing())
            std::this_thread::sleep_for(1ms);
        // Somewhere else in the device's period next time.
        std::this_thread::sleep_for(std::chrono::microseconds(1700 * (state.iterations() % 7)));
    }
    state.SetLabel(keepOpen ? "device open" : "device closed");
}
BENCHMARK(BM_FirstSound)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // A machine without sound still measures the mixer: the dummy driver runs it.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
