// Translation speed on generated structured flowcharts: the translator as the
// window runs it (load, passes, emit, indent), against the literal passes.
#include <benchmark/benchmark.h>

#include "model/shem.h"
#include "model/stream.h"
#include "pascal/pascaltranslator.h"
#include "tests/pascal/flowgen.h"
#include "tests/pascal/literalpasses.h"

namespace {

std::vector<uint8_t> Flowchart(int blocks, bool drawn) {
  FlowStyle st;
  if (drawn) {
    st.bendShare = 0.3;
    st.bendDecisionExits = false;
    st.junctionShare = 0.3;
    st.reversedShare = 0.3;
  }
  TShem d;
  FlowGen g(42, st);
  g.Build(d, blocks);
  TMemoryStream s;
  d.SaveToStream(s);
  return s.Bytes();
}

void Counters(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  TShem d;
  TMemoryStream s(bytes);
  d.LoadFromStream(s);
  int blocks = 0;
  for (int i = 0; i < d.Count(); ++i) blocks += d.GetObj(i)->IsBlock();
  state.counters["objects"] = d.Count();
  state.counters["blocks"] = blocks;
}

void TranslateFlowchart(benchmark::State& state, bool drawn) {
  const auto bytes = Flowchart(int(state.range(0)), drawn);
  size_t lines = 0, messages = 0;
  for (auto _ : state) {
    TMemoryStream s(bytes);
    const TPascalTranslation t = Translate(s);
    lines = t.Lines.size();
    messages = t.Messages.size();
  }
  Counters(state, bytes);
  state.counters["lines"] = double(lines);
  state.counters["messages"] = double(messages);
  state.SetComplexityN(state.range(0));
}

void BM_TranslateStructured(benchmark::State& state) { TranslateFlowchart(state, false); }
void BM_TranslateDrawn(benchmark::State& state) { TranslateFlowchart(state, true); }

// The passes written literally, for comparison (a full scan per rewrite).
void BM_LiteralPasses(benchmark::State& state) {
  const auto bytes = Flowchart(int(state.range(0)), true);
  for (auto _ : state) {
    TShem d;
    TMemoryStream s(bytes);
    d.LoadFromStream(s);
    LiteralPasses lit(d);
    lit.JoinAdjacentPoints();
    lit.DissolveBendPoints();
    lit.MakeJunctionPoints();
    lit.ForwardJunctionPoints();
    lit.MergeSequences();
    lit.ReduceDecisions();
    benchmark::DoNotOptimize(d.Count());
  }
  Counters(state, bytes);
  state.SetComplexityN(state.range(0));
}

// 20,000 flowchart blocks (plus their "yes" labels) is the size to beat.
BENCHMARK(BM_TranslateStructured)
    ->Arg(1250)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
// Drawn with bends and junctions the object count grows faster; a file indexes
// at most 65536 objects, so the largest drawing stays below that.
BENCHMARK(BM_TranslateDrawn)
    ->Arg(1250)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(15000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LiteralPasses)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
