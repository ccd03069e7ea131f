// How the cost of a scan and of the record repair grows with the machine,
// measured on the simulated machine (its clock records the pauses instead
// of sleeping them). Each family ends with Google Benchmark's fit of the
// growth; "per_item" is the time per volume or record and should stay flat.
//   parvola_scale_bench [--benchmark_filter=REGEX]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/texts.h"
#include "mounter/repair.h"
#include "mounter/scan.h"
#include "tests/sim/registry_sim.h"
#include "tests/sim/setupapi_sim.h"
#include "tests/sim/sim.h"
#include "tests/sim/volumes_sim.h"

namespace {

using platform::Text;

constexpr char16_t kRecords[] = u"HKLM\\SYSTEM\\CurrentControlSet\\Enum\\STORAGE\\Volume";

Text Numbered(const char* prefix, int n) {
  char digits[48];
  std::snprintf(digits, sizeof digits, "%s%08d", prefix, n);
  return Text(digits, digits + std::char_traits<char>::length(digits));
}

// A machine whose system disk has C:, plus `lettered` more letters in use
// from D: on, and `letterless` volumes the device manager lists.
void ArrangeVolumes(int letterless, int lettered) {
  sim::Reset();
  app::SetTexts(app::MakeTextTable(0x0409));
  for (int k = 0; k <= lettered; ++k) {
    const Text path = Numbered("\\device\\harddiskvolume", k);
    sim::DefineName(Text(1, static_cast<char16_t>(u'C' + k)) + u":", path);
    sim::AddDevice(path);
  }
  for (int k = 0; k < letterless; ++k) {
    const Text path = Numbered("\\device\\harddiskvolume1", k);
    sim::deviceManager().volumes.push_back({path});
    sim::VolumeDevice& device = sim::AddDevice(path);
    device.label = u"DATA";
    device.product = "Disk";
  }
}

// `records` volume records, without the class values when `incomplete`.
void ArrangeRecords(int records, bool incomplete) {
  sim::Reset();
  for (int k = 0; k < records; ++k) {
    const Text path = Text(kRecords) + u"\\" + Numbered("STORAGE#Volume#", k);
    sim::AddRegistryKey(path);
    if (incomplete) continue;
    sim::PutRegistryValue(path, u"Class", 1, sim::Utf16Bytes(u"Volume"));
    sim::PutRegistryValue(path, u"ClassGUID", 1,
                          sim::Utf16Bytes(u"{71A27CDD-812A-11D0-BEC7-08002BE2092F}"));
  }
}

// Times `run` on a machine that `arrange` makes afresh for each iteration,
// for state.range(0) volumes or records.
template <class Arrange, class Run>
void Measure(benchmark::State& state, Arrange arrange, Run run) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    arrange(count);
    state.ResumeTiming();
    run();
  }
  state.SetComplexityN(count);
  state.counters["per_item"] = benchmark::Counter(
      count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void OneShotScan() { mounter::RunScan({0, 0, 1, 0}); }

// Every letterless volume the free letters allow is mounted; the rest are
// listed and passed over.
void ScanFewLettersInUse(benchmark::State& state) {
  Measure(state, [](int count) { ArrangeVolumes(count, 0); }, OneShotScan);
}

// Every letter from C: to Z: in use: nothing is mounted, the volumes are
// only listed and compared with the letters.
void ScanAllLettersInUse(benchmark::State& state) {
  Measure(state, [](int count) { ArrangeVolumes(count, 23); }, OneShotScan);
}

void RepairIncompleteRecords(benchmark::State& state) {
  Measure(state, [](int count) { ArrangeRecords(count, true); }, mounter::RepairVolumeRecords);
}

// Records that need nothing: the repair only reads.
void RepairCompleteRecords(benchmark::State& state) {
  Measure(state, [](int count) { ArrangeRecords(count, false); }, mounter::RepairVolumeRecords);
}

BENCHMARK(ScanFewLettersInUse)->Arg(1)->Arg(24)->Arg(1000)->Arg(4000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ScanAllLettersInUse)->Arg(1)->Arg(24)->Arg(1000)->Arg(4000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RepairIncompleteRecords)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RepairCompleteRecords)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
