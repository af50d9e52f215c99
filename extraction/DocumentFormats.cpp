#include "extraction/DocumentFormats.h"

#include <array>

#include "extraction/MailReader.h"
#include "extraction/OoxmlReader.h"
#include "extraction/OpenDocumentReader.h"
#ifdef GLANEX_WITH_PDF
#include "extraction/PdfReader.h"
#endif
#include "extraction/ZipArchive.h"

namespace glanex {

namespace {

constexpr std::string_view kZipLocalHeader = "PK\x03\x04";
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::string_view kOpenDocumentType = "application/vnd.oasis.opendocument.";

std::size_t littleEndian16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

// Office Open XML producers put the package's content types or its relationships first; some a part.
bool startsOoxmlPackage(std::string_view name) {
  static constexpr std::array<std::string_view, 6> kFirstEntries = {
      "[Content_Types].xml", "_rels/", "docProps/", "word/", "xl/", "ppt/"};
  for (const std::string_view first : kFirstEntries) {
    if (name.starts_with(first)) return true;
  }
  return false;
}

bool mayBeOfficeArchive(std::string_view start) {
  if (!start.starts_with(kZipLocalHeader) || start.size() < kLocalHeaderSize) return false;
  const std::string_view name = start.substr(kLocalHeaderSize, littleEndian16(start, 26));
  if (name == "mimetype") {
    // OpenDocument stores its media type first, uncompressed, right after the name.
    const std::size_t dataAt = kLocalHeaderSize + name.size() + littleEndian16(start, 28);
    return dataAt < start.size() && start.substr(dataAt).starts_with(kOpenDocumentType);
  }
  return startsOoxmlPackage(name);
}

// Whether the build reads PDF (poppler is left out of a build made without it), and the file is one.
bool isReadablePdf([[maybe_unused]] std::string_view start) {
#ifdef GLANEX_WITH_PDF
  return PdfReader::recognises(start);
#else
  return false;
#endif
}

}  // namespace

bool mayBeFormattedDocument(std::string_view start) {
  return mayBeOfficeArchive(start) || MailReader::recognises(start) || isReadablePdf(start);
}

std::string documentKindsRead() {
#ifdef GLANEX_WITH_PDF
  return "Word, Excel, PowerPoint, LibreOffice, PDF, e-mail et mbox";
#else
  return "Word, Excel, PowerPoint, LibreOffice, e-mail et mbox";
#endif
}

std::optional<std::string> formattedDocumentText(std::string_view bytes) {
  const std::string_view start = bytes.substr(0, kDocumentSignatureSize);
  if (MailReader::recognises(start)) return MailReader::read(bytes);
#ifdef GLANEX_WITH_PDF
  if (PdfReader::recognises(start)) return PdfReader::read(bytes);
#endif
  if (!mayBeOfficeArchive(start)) return std::nullopt;
  std::optional<ZipArchive> archive = ZipArchive::open(bytes);
  if (!archive) return std::nullopt;
  if (archive->firstName() == "mimetype") return OpenDocumentReader::read(*archive);
  return OoxmlReader::read(*archive);
}

}  // namespace glanex
