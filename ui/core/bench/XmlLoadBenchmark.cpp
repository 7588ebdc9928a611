// Loads skin files with the framework's XML parser and with pugixml (built here with the same
// flags), in its default mode (UTF-8 text) and in its wide-character mode (UTF-8 converted to
// wchar_t, as ours does); checks that all see the same tree and, in wide text, the same
// characters. Times two jobs per file: the whole load (bytes to tree) and the load followed by
// reading every element name, attribute name and value in full. The rounds interleave the
// parsers; each round gives one ratio per peer, and the figures are min / median / max over the
// rounds, in the thread's CPU time.
//   ui_xml_benchmark [--rounds N] FILE...
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "PugixmlWide.h"
#include "XmlCounts.h"
#include "markup/XmlMarkup.h"

namespace {

// Each timing covers at least this many bytes parsed (and at least kMinCalls calls), so that a
// small file is timed over many calls.
constexpr size_t kBytesPerTiming = size_t{2} << 20;
constexpr int kMinCalls = 5;
volatile uint64_t g_sink;  // keeps the reads from being optimised away

void Read(ui::XmlNode node, XmlCounts& counts) {
  for (; node.IsValid(); node = node.NextSibling()) {
    ++counts.elements;
    counts.Read(node.Name());
    const int attributes = static_cast<int>(node.AttributeCount());
    counts.attributes += attributes;
    for (int i = 0; i < attributes; ++i) {
      counts.Read(node.AttributeName(i));
      counts.Read(node.AttributeValue(i));
    }
    Read(node.FirstChild(), counts);
  }
}

struct Spread {
  double min, median, max;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

// One job done by the three parsers: microseconds per call, per round.
struct Job {
  const char* title;
  std::function<void()> ours, pugixml, pugixml_wide;
  std::vector<double> ours_us, pugixml_us, wide_us;
};

// The thread's CPU time: on a loaded machine, time spent waiting for a core is not counted.
double ThreadMicroseconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

double Microseconds(const std::function<void()>& call, int calls) {
  const double start = ThreadMicroseconds();
  for (int i = 0; i < calls; ++i) call();
  return (ThreadMicroseconds() - start) / calls;
}

// The order of the parsers turns from round to round, so none always runs first.
void RunRound(Job& job, int round, int calls) {
  const std::function<void()>* jobs[] = {&job.ours, &job.pugixml, &job.pugixml_wide};
  std::vector<double>* times[] = {&job.ours_us, &job.pugixml_us, &job.wide_us};
  for (int i = 0; i < 3; ++i) {
    const int which = (round + i) % 3;
    times[which]->push_back(Microseconds(*jobs[which], calls));
  }
}

void PrintSpread(const char* what, const Spread& spread, const char* unit) {
  std::printf("  %-28s min %7.2f  median %7.2f  max %7.2f %s\n", what, spread.min, spread.median,
              spread.max, unit);
}

void PrintRatios(const char* peer, const std::vector<double>& peer_us, const std::vector<double>& ours_us) {
  std::vector<double> ratios;
  for (size_t i = 0; i < ours_us.size(); ++i) ratios.push_back(peer_us[i] / ours_us[i]);
  const std::string what = std::string("speed vs ") + peer;
  PrintSpread(what.c_str(), SpreadOf(ratios), "x");
}

void Print(const Job& job) {
  std::printf("%s\n", job.title);
  PrintSpread("ours", SpreadOf(job.ours_us), "us");
  PrintSpread("pugixml", SpreadOf(job.pugixml_us), "us");
  PrintSpread("pugixml wide", SpreadOf(job.wide_us), "us");
  PrintRatios("pugixml", job.pugixml_us, job.ours_us);
  PrintRatios("pugixml wide", job.wide_us, job.ours_us);
}

// Checks that the parsers agree on `path`, then times both jobs; false when they do not.
bool Benchmark(const char* path, int rounds) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());

  XmlCounts ours, peer, wide;
  {
    ui::XmlMarkup xml;
    pugi::xml_document document;
    if (!xml.LoadFromBytes(data, bytes.size()) || !document.load_buffer(bytes.data(), bytes.size()) ||
        !PugixmlWideLoadAndRead(bytes.data(), bytes.size(), wide)) {
      std::fprintf(stderr, "%s: does not load (%ls)\n", path, xml.GetLastErrorMessage());
      return false;
    }
    Read(xml.Root(), ours);
    ReadPugixml(document, pugi::node_element, peer);
  }
  std::printf("%s: %zu bytes, %zu elements, %zu attributes, %zu characters of names and values\n",
              path, bytes.size(), ours.elements, ours.attributes, ours.characters);
  if (!ours.SameTree(peer) || !ours.SameText(wide)) {
    std::fprintf(stderr, "pugixml sees %zu elements, %zu attributes; wide: %zu characters\n",
                 peer.elements, peer.attributes, wide.characters);
    return false;
  }

  Job load{"whole load (bytes to tree):",
           [&] {
             ui::XmlMarkup xml;
             xml.LoadFromBytes(data, bytes.size());
           },
           [&] {
             pugi::xml_document document;
             document.load_buffer(bytes.data(), bytes.size());
           },
           [&] { PugixmlWideLoad(bytes.data(), bytes.size()); }};
  Job read{"load and read every name and value in full:",
           [&] {
             ui::XmlMarkup xml;
             xml.LoadFromBytes(data, bytes.size());
             XmlCounts counts;
             Read(xml.Root(), counts);
             g_sink = g_sink + counts.checksum;
           },
           [&] {
             pugi::xml_document document;
             document.load_buffer(bytes.data(), bytes.size());
             XmlCounts counts;
             ReadPugixml(document, pugi::node_element, counts);
             g_sink = g_sink + counts.checksum;
           },
           [&] {
             XmlCounts counts;
             PugixmlWideLoadAndRead(bytes.data(), bytes.size(), counts);
             g_sink = g_sink + counts.checksum;
           }};
  const int calls =
      std::max<int>(kMinCalls, static_cast<int>(kBytesPerTiming / std::max<size_t>(bytes.size(), 1)));
  for (int round = 0; round < rounds; ++round) {
    RunRound(load, round, calls);
    RunRound(read, round, calls);
  }
  std::printf("%d interleaved rounds of %d calls each\n", rounds, calls);
  Print(load);
  Print(read);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 31;
  int first_file = 1;
  if (argc > 2 && std::strcmp(argv[1], "--rounds") == 0) {
    rounds = std::max(1, std::atoi(argv[2]));
    first_file = 3;
  }
  if (first_file >= argc) {
    std::fprintf(stderr, "usage: %s [--rounds N] FILE...\n", argv[0]);
    return 2;
  }
  bool agreed = true;
  for (int i = first_file; i < argc; ++i) agreed = Benchmark(argv[i], rounds) && agreed;
  return agreed ? 0 : 1;
}
