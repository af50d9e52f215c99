#include "extraction/StreamingExtraction.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <sched.h>

#include "extraction/AddressCollector.h"
#include "extraction/AddressShards.h"
#include "extraction/ChunkReader.h"
#include "extraction/ChunkReadings.h"
#include "extraction/ChunkWorkers.h"
#include "extraction/CollectedPrefix.h"
#include "extraction/DocumentFiles.h"
#include "extraction/DocumentFormats.h"
#include "extraction/EncodingSniffing.h"
#include "extraction/Errors.h"
#include "extraction/InputStream.h"
#include "extraction/MappedInput.h"
#include "extraction/RunOnThreads.h"
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

// Reports the bytes read so far, on one thread at a time.
class ReadReport {
 public:
  ReadReport(std::optional<std::int64_t> size, ReadProgress* progress)
      : total_(size.value_or(-1)), progress_(progress) {}

  void update(std::int64_t done) const {
    if (progress_ != nullptr) progress_->ReportBytesRead(done, total_);
  }

 private:
  std::int64_t total_;
  ReadProgress* progress_;
};

using ReportRead = std::function<void()>;

void readRest(ByteSource& source, std::string& bytes) {
  for (;;) {
    const std::size_t held = bytes.size();
    bytes.resize(held + kIoBlockSize);
    const std::size_t count = source.read({bytes.data() + held, kIoBlockSize});
    bytes.resize(held + count);
    if (count < kIoBlockSize) return;
  }
}

AddressList collectRtf(std::string_view bytes, std::string_view separators) {
  AddressCollector collector(separators);
  collector.feed(documentFromBytes(bytes).plainText());
  collector.finish();
  return collector.addresses().inOrder();
}

// The addresses of a document read through its format, from its decoded text; nothing when `bytes` turn
// out to be no such document.
std::optional<AddressList> collectDocument(std::string_view bytes, std::string_view separators) {
  const std::optional<std::string> text = formattedDocumentText(bytes);
  if (!text) return std::nullopt;
  return extractAddressesUnlimited(*text, separators);
}

// UTF-16 is decoded in order, a block at a time, on the reading thread: no byte of it is a token edge
// alone.
AddressList collectUtf16(ByteSource& source, std::string start, StreamEncoding encoding,
                         std::string_view separators, const ReportRead& reportRead) {
  AddressCollector collector(separators);
  StreamDecoder decoder(encoding);
  std::string block = std::move(start);
  for (bool last = false; !last;) {
    const std::size_t held = block.size();
    block.resize(held + kIoBlockSize);
    const std::size_t count = source.read({block.data() + held, kIoBlockSize});
    last = count < kIoBlockSize;
    block.resize(held + count);
    reportRead();
    collector.feed(decoder.decode(block, last));
    block.clear();
  }
  collector.finish();
  return collector.addresses().inOrder();
}

// Collects the chunks of `reader` on the threads the settings ask for. When the chunks are views of a
// mapping, their pages are handed back once they are collected.
AddressList collectChunks(ChunkReader& reader, ChunkEncoding encoding, std::string_view separators,
                          const StreamingSettings& settings, const MappedInput* mapping,
                          const ReportRead& reportRead) {
  std::size_t threads = settings.threads == 0 ? availableCores() : settings.threads;
  // Threads beyond the chunks would only be started and stopped: on a folder of small files they made the
  // run several times slower than one thread.
  if (reader.inMemory()) threads = std::clamp<std::size_t>(reader.chunksInMemory(), 1, threads);
  EncodingEvidence evidence;
  AddressShards shards(threads);
  std::vector<ChunkReadings> readings;
  readings.reserve(threads);
  for (std::size_t thread = 0; thread < threads; ++thread)
    readings.emplace_back(separators, encoding, evidence, shards, thread);
  std::optional<CollectedPrefix> collected;
  if (mapping != nullptr) collected.emplace(*mapping, threads * settings.chunkSize);
  const auto collect = [&](std::size_t thread, const Chunk& chunk) {
    readings[thread].collect(chunk.bytes, chunk.index);
    if (collected) collected->add(chunk);
  };
  if (threads == 1) {
    Chunk chunk;
    while (reader.next(chunk)) {
      reportRead();
      collect(0, chunk);
    }
  } else if (reader.inMemory()) {
    // Each thread cuts its next chunk itself: handing the chunks out from another thread woke a thread
    // twice per chunk (2,800 context switches for 1 GB, 4 % of the time on two cores).
    std::mutex cutting;
    std::atomic<bool> failed = false;
    runOnThreads(threads, [&](std::size_t thread) {
      try {
        for (Chunk chunk;;) {
          {
            const std::lock_guard lock(cutting);
            if (failed || !reader.next(chunk)) return;
            reportRead();
          }
          collect(thread, chunk);
        }
      } catch (...) {
        failed = true;
        throw;
      }
    });
  } else {
    ChunkWorkers workers(threads, collect);
    for (Chunk chunk = workers.take(); reader.next(chunk); chunk = workers.take()) {
      reportRead();
      workers.hand(std::move(chunk));
    }
    workers.finish();
  }
  reportRead();
  return ChunkReadings::merged(shards, evidence);
}

ChunkEncoding chunkEncodingOf(const std::optional<ByteOrderMark>& mark) {
  if (!mark) return ChunkEncoding::Undecided;
  return mark->encoding == StreamEncoding::Utf8 ? ChunkEncoding::Utf8 : ChunkEncoding::Cp1252;
}

bool isUtf16(const std::optional<ByteOrderMark>& mark) {
  return mark && mark->encoding != StreamEncoding::Utf8;
}

// Plain text all in memory, in a mapping or not: its chunks are views of it.
AddressList collectPlainBytes(std::string_view bytes, std::string_view separators,
                              const StreamingSettings& settings, const ReadReport& report,
                              const MappedInput* mapping) {
  const std::optional<ByteOrderMark> mark = byteOrderMarkOf(bytes);
  const std::size_t markLength = mark ? mark->length : 0;
  bytes.remove_prefix(markLength);
  if (isUtf16(mark)) {
    MemorySource source(bytes);
    const ReportRead reportRead = [&] {
      report.update(static_cast<std::int64_t>(markLength) + source.consumed());
    };
    return collectUtf16(source, {}, mark->encoding, separators, reportRead);
  }
  ChunkReader reader(bytes, settings.chunkSize, separators);
  const ReportRead reportRead = [&] {
    report.update(static_cast<std::int64_t>(markLength) + reader.handedOut());
  };
  return collectChunks(reader, chunkEncodingOf(mark), separators, settings, mapping, reportRead);
}

// An input that is read: standard input, a pipe, a device.
AddressList collectFromSource(ByteSource& source, std::optional<std::int64_t> size,
                              std::string_view separators, ReadProgress* progress,
                              const StreamingSettings& settings) {
  const ReadReport report(size, progress);
  const ReportRead reportRead = [&] { report.update(source.consumed()); };
  std::string start(kDocumentSignatureSize, '\0');
  start.resize(source.read(start));
  if (startsAsRtf(start)) {
    readRest(source, start);
    reportRead();
    return collectRtf(start, separators);
  }
  if (mayBeFormattedDocument(start)) {
    readRest(source, start);
    reportRead();
    if (std::optional<AddressList> addresses = collectDocument(start, separators)) {
      return std::move(*addresses);
    }
    return collectPlainBytes(start, separators, settings, report, nullptr);
  }
  const std::optional<ByteOrderMark> mark = byteOrderMarkOf(start);
  if (mark) start.erase(0, mark->length);
  if (isUtf16(mark)) return collectUtf16(source, std::move(start), mark->encoding, separators, reportRead);
  ChunkReader reader(source, settings.chunkSize, separators, std::move(start), settings.longestStretch);
  return collectChunks(reader, chunkEncodingOf(mark), separators, settings, nullptr, reportRead);
}

// A regular file, mapped.
AddressList collectFromMapping(const MappedInput& mapping, std::string_view separators,
                               ReadProgress* progress, const StreamingSettings& settings) {
  const std::string_view bytes = mapping.bytes();
  const ReadReport report(static_cast<std::int64_t>(bytes.size()), progress);
  if (startsAsRtf(bytes)) {
    report.update(static_cast<std::int64_t>(bytes.size()));
    return collectRtf(bytes, separators);
  }
  if (mayBeFormattedDocument(bytes.substr(0, kDocumentSignatureSize))) {
    std::optional<AddressList> addresses = collectDocument(bytes, separators);
    report.update(static_cast<std::int64_t>(bytes.size()));
    if (addresses) return std::move(*addresses);
  }
  return collectPlainBytes(bytes, separators, settings, report, &mapping);
}

AddressList collectFromInput(InputStream& input, std::string_view separators, ReadProgress* progress,
                             const StreamingSettings& settings) {
  if (const std::unique_ptr<MappedInput> mapping = input.mapRest()) {
    AddressList addresses = collectFromMapping(*mapping, separators, progress, settings);
    mapping->throwIfCut();
    return addresses;
  }
  return collectFromSource(input, input.size(), separators, progress, settings);
}

// The reason a document gives for refusing to open (a PDF's password) names the input, as the window's
// message names the file.
EFOpenError namedRefusal(const std::string& path, const EFOpenError& refusal) {
  if (path == "-")
    return EFOpenError(std::string("Impossible d'ouvrir l'entrée standard. ") + refusal.what());
  return fileOpenError(displayPath(path), refusal.what());
}

}  // namespace

std::size_t availableCores() {
  cpu_set_t cores;
  if (::sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(CPU_COUNT(&cores), 1);
  return std::max(std::thread::hardware_concurrency(), 1u);
}

AddressList extractAddressesUnlimited(std::string_view text, std::string_view separators) {
  AddressCollector collector(separators);
  collector.feed(text);
  collector.finish();
  return collector.addresses().inOrder();
}

AddressList extractAddressesFromFile(const std::string& path, std::string_view separators,
                                     ReadProgress* progress, const StreamingSettings& settings) {
  InputStream input(path);
  try {
    return collectFromInput(input, separators, progress, settings);
  } catch (const EFOpenError& refusal) {
    throw namedRefusal(path, refusal);
  }
}

AddressList extractAddressesFromBytes(std::string_view bytes, std::string_view separators,
                                      const StreamingSettings& settings) {
  MemorySource source(bytes);
  return collectFromSource(source, static_cast<std::int64_t>(bytes.size()), separators, nullptr, settings);
}

}  // namespace glanex
