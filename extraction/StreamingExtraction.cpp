#include "extraction/StreamingExtraction.h"

#include "extraction/AddressCollector.h"
#include "extraction/DocumentFiles.h"
#include "extraction/DocumentFormats.h"
#include "extraction/EncodingSniffing.h"
#include "extraction/PosixIo.h"
#include "extraction/RereadableInput.h"
#include "extraction/StreamDecoder.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

// One pass over the input from some offset on, a block at a time.
class BlockReader {
 public:
  BlockReader(const RereadableInput& input, std::int64_t from, ReadProgress* progress = nullptr)
      : input_(input), offset_(from), progress_(progress), block_(kIoBlockSize) {}

  // The next block; a block shorter than the others is the last one.
  std::string_view next() {
    const std::size_t count = input_.readAt(offset_, block_);
    offset_ += static_cast<std::int64_t>(count);
    if (progress_ != nullptr) progress_->ReportBytesRead(offset_, input_.size());
    return {block_.data(), count};
  }
  std::int64_t offset() const { return offset_; }
  static bool isLast(std::string_view block) { return block.size() < kIoBlockSize; }

 private:
  const RereadableInput& input_;
  std::int64_t offset_;
  ReadProgress* progress_;
  std::vector<char> block_;
};

std::string readWhole(const RereadableInput& input) {
  std::string bytes(static_cast<std::size_t>(input.size()), '\0');
  bytes.resize(input.readAt(0, bytes));
  return bytes;
}

// Feeds the collector the text of the input from `from` on, decoded as `encoding`.
void collectDecoded(const RereadableInput& input, std::int64_t from, StreamEncoding encoding,
                    AddressCollector& collector, ReadProgress* progress) {
  StreamDecoder decoder(encoding);
  BlockReader reader(input, from, progress);
  for (;;) {
    const std::string_view block = reader.next();
    const bool last = BlockReader::isLast(block);
    collector.feed(decoder.decode(block, last));
    if (last) return;
  }
}

// Feeds the collector the ASCII bytes the input starts with, which read the same in every encoding left,
// and returns where they end.
std::int64_t collectAsciiStart(const RereadableInput& input, AddressCollector& collector,
                               ReadProgress* progress) {
  BlockReader reader(input, 0, progress);
  for (;;) {
    const std::string_view block = reader.next();
    const std::size_t ascii = asciiPrefixLength(block);
    collector.feed(block.substr(0, ascii));
    if (ascii < block.size() || BlockReader::isLast(block)) {
      return reader.offset() - static_cast<std::int64_t>(block.size() - ascii);
    }
  }
}

// The encoding of the input without a byte-order mark, whose first non-ASCII byte is at `from`.
StreamEncoding unmarkedEncodingFrom(const RereadableInput& input, std::int64_t from) {
  Utf8Verdict verdict;
  BlockReader reader(input, from);
  for (;;) {
    const std::string_view block = reader.next();
    if (const std::optional<StreamEncoding> encoding = verdict.take(block, BlockReader::isLast(block))) {
      return *encoding;
    }
  }
}

void collectPlainText(const RereadableInput& input, std::string_view start, AddressCollector& collector,
                      ReadProgress* progress) {
  if (const std::optional<ByteOrderMark> mark = byteOrderMarkOf(start)) {
    collectDecoded(input, static_cast<std::int64_t>(mark->length), mark->encoding, collector, progress);
    return;
  }
  // Windows-1252 and UTF-8 agree on ASCII, so the choice waits for the first other byte.
  const std::int64_t firstNonAscii = collectAsciiStart(input, collector, progress);
  if (firstNonAscii == input.size()) return;
  collectDecoded(input, firstNonAscii, unmarkedEncodingFrom(input, firstNonAscii), collector, progress);
}

std::vector<std::string> collectFromInput(const RereadableInput& input, std::string_view separators,
                                          ReadProgress* progress) {
  AddressCollector collector(separators);
  std::string start(kDocumentSignatureSize, '\0');
  start.resize(input.readAt(0, start));
  if (startsAsRtf(start) || mayBeFormattedDocument(start)) {
    collector.feed(documentFromBytes(readWhole(input)).plainText());
    if (progress != nullptr) progress->ReportBytesRead(input.size(), input.size());
  } else {
    collectPlainText(input, start, collector, progress);
  }
  collector.finish();
  return collector.addresses().inOrder();
}

}  // namespace

std::vector<std::string> extractAddressesUnlimited(std::string_view text, std::string_view separators) {
  AddressCollector collector(separators);
  collector.feed(text);
  collector.finish();
  return collector.addresses().inOrder();
}

std::vector<std::string> extractAddressesFromFile(const std::string& path, std::string_view separators,
                                                  ReadProgress* progress) {
  const RereadableInput input(path);
  return collectFromInput(input, separators, progress);
}

}  // namespace glanex
