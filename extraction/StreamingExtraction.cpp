#include "extraction/StreamingExtraction.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>

#include <sched.h>

#include "extraction/AddressCollector.h"
#include "extraction/ChunkReader.h"
#include "extraction/ChunkReadings.h"
#include "extraction/ChunkWorkers.h"
#include "extraction/DocumentFiles.h"
#include "extraction/EncodingSniffing.h"
#include "extraction/InputStream.h"
#include "extraction/StreamDecoder.h"

namespace glanex {

namespace {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : rest_(bytes) {}

 private:
  std::size_t fill(std::span<char> buffer) override {
    const std::size_t count = std::min(buffer.size(), rest_.size());
    std::memcpy(buffer.data(), rest_.data(), count);
    rest_.remove_prefix(count);
    return count;
  }

  std::string_view rest_;
};

// Reports the bytes read so far, on the reading thread only.
class ReadReport {
 public:
  ReadReport(const ByteSource& source, std::optional<std::int64_t> size, ReadProgress* progress)
      : source_(source), total_(size.value_or(-1)), progress_(progress) {}

  void update() const {
    if (progress_ != nullptr) progress_->ReportBytesRead(source_.consumed(), total_);
  }

 private:
  const ByteSource& source_;
  std::int64_t total_;
  ReadProgress* progress_;
};

void readRest(ByteSource& source, std::string& bytes) {
  for (;;) {
    const std::size_t held = bytes.size();
    bytes.resize(held + kIoBlockSize);
    const std::size_t count = source.read({bytes.data() + held, kIoBlockSize});
    bytes.resize(held + count);
    if (count < kIoBlockSize) return;
  }
}

std::vector<std::string> collectRtf(ByteSource& source, std::string start, std::string_view separators) {
  readRest(source, start);
  AddressCollector collector(separators);
  collector.feed(documentFromBytes(start).plainText());
  collector.finish();
  return collector.addresses().inOrder();
}

// UTF-16 is decoded in order, a block at a time, on the reading thread: no byte of it is a token edge
// alone.
std::vector<std::string> collectUtf16(ByteSource& source, std::string start, StreamEncoding encoding,
                                      std::string_view separators, const ReadReport& report) {
  AddressCollector collector(separators);
  StreamDecoder decoder(encoding);
  std::string block = std::move(start);
  for (bool last = false; !last;) {
    const std::size_t held = block.size();
    block.resize(held + kIoBlockSize);
    const std::size_t count = source.read({block.data() + held, kIoBlockSize});
    last = count < kIoBlockSize;
    block.resize(held + count);
    report.update();
    collector.feed(decoder.decode(block, last));
    block.clear();
  }
  collector.finish();
  return collector.addresses().inOrder();
}

std::vector<std::string> collectChunks(ByteSource& source, std::string start, ChunkEncoding encoding,
                                       std::string_view separators, const StreamingSettings& settings,
                                       const ReadReport& report) {
  const std::size_t threads = settings.threads == 0 ? availableCores() : settings.threads;
  ChunkReader reader(source, settings.chunkSize, separators, std::move(start));
  EncodingEvidence evidence;
  std::vector<ChunkReadings> readings;
  readings.reserve(threads);
  for (std::size_t thread = 0; thread < threads; ++thread)
    readings.emplace_back(separators, encoding, evidence);
  if (threads == 1) {
    Chunk chunk;
    while (reader.next(chunk)) {
      report.update();
      readings.front().collect(chunk.bytes(), chunk.index);
    }
  } else {
    ChunkWorkers workers(threads, [&](std::size_t thread, const Chunk& chunk) {
      readings[thread].collect(chunk.bytes(), chunk.index);
    });
    for (Chunk chunk = workers.take(); reader.next(chunk); chunk = workers.take()) {
      report.update();
      workers.hand(std::move(chunk));
    }
    workers.finish();
  }
  report.update();
  return ChunkReadings::merged(readings, evidence);
}

std::vector<std::string> collectFromSource(ByteSource& source, std::optional<std::int64_t> size,
                                           std::string_view separators, ReadProgress* progress,
                                           const StreamingSettings& settings) {
  const ReadReport report(source, size, progress);
  std::string start(kRtfSignature.size(), '\0');
  start.resize(source.read(start));
  if (startsAsRtf(start)) {
    std::vector<std::string> addresses = collectRtf(source, std::move(start), separators);
    report.update();
    return addresses;
  }
  const std::optional<ByteOrderMark> mark = byteOrderMarkOf(start);
  if (!mark)
    return collectChunks(source, std::move(start), ChunkEncoding::Undecided, separators, settings, report);
  start.erase(0, mark->length);
  if (mark->encoding == StreamEncoding::Utf8) {
    return collectChunks(source, std::move(start), ChunkEncoding::Utf8, separators, settings, report);
  }
  return collectUtf16(source, std::move(start), mark->encoding, separators, report);
}

}  // namespace

std::size_t availableCores() {
  cpu_set_t cores;
  if (::sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(CPU_COUNT(&cores), 1);
  return std::max(std::thread::hardware_concurrency(), 1u);
}

std::vector<std::string> extractAddressesUnlimited(std::string_view text, std::string_view separators) {
  AddressCollector collector(separators);
  collector.feed(text);
  collector.finish();
  return collector.addresses().inOrder();
}

std::vector<std::string> extractAddressesFromFile(const std::string& path, std::string_view separators,
                                                  ReadProgress* progress, const StreamingSettings& settings) {
  InputStream input(path);
  return collectFromSource(input, input.size(), separators, progress, settings);
}

std::vector<std::string> extractAddressesFromBytes(std::string_view bytes, std::string_view separators,
                                                   const StreamingSettings& settings) {
  MemorySource source(bytes);
  return collectFromSource(source, static_cast<std::int64_t>(bytes.size()), separators, nullptr, settings);
}

}  // namespace glanex
