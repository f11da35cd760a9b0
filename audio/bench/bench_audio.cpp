// Speed of the sound: the mixer runs once per device period on the device's
// thread, and must leave the machine most of that period; a sound request and
// the 10 ms tick's music step run on the window's thread and must not allocate.
#include "AudioDevice.h"
#include "FullSound.h"
#include "MidiSequencer.h"
#include "TDGCSoundBuffer.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using mirelo::FullSound;

const char* const Tunes[] = {"ferral.mid", "gokuraku.mid", "mirelo.mid", "gisors.mid"};

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs/op"] = benchmark::Counter(
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations()));
}

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
    const long before = allocations.load();
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
    const long before = allocations.load();
    for (auto _ : state)
        sound.PlayEffect(2);
    ReportAllocations(state, before);
}
BENCHMARK(BM_PlayRequest);

// The timer's music step while a tune plays: the end test's position queries.
void BM_MusicStep(benchmark::State& state) {
    FullSound sound(QStringLiteral(MIRELO_TUNES_DIR));
    QString error;
    if (!sound.SelectedMusic(FullSound::DefaultTune, &error)) {
        state.SkipWithError("no music");
        return;
    }
    const long before = allocations.load();
    for (auto _ : state)
        sound.MusicStep();
    ReportAllocations(state, before);
}
BENCHMARK(BM_MusicStep);

} // namespace

int main(int argc, char** argv) {
    // A machine without sound still measures the mixer: the dummy driver runs it.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
