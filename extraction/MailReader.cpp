#include "extraction/MailReader.h"

#include <array>
#include <memory>
#include <mutex>

#include <gmime/gmime.h>

#include "extraction/DocumentLimits.h"
#include "extraction/DocumentText.h"
#include "extraction/EncodingSniffing.h"
#include "extraction/Errors.h"
#include "extraction/HtmlText.h"
#include "extraction/TextEncoding.h"

namespace glanex {

namespace {

struct ObjectReleaser {
  void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GObject = std::unique_ptr<T, ObjectReleaser>;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && g_ascii_strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool isOneOfIgnoringCase(std::string_view name, std::initializer_list<std::string_view> names) {
  for (const std::string_view candidate : names) {
    if (equalsIgnoringCase(name, candidate)) return true;
  }
  return false;
}

// A header field's name: printable ASCII without a colon or a space.
bool isFieldName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (c < 33 || c > 126) return false;
  }
  return true;
}

// The headers whose values hold people's addresses or words.
bool isReadHeader(std::string_view name) {
  return isOneOfIgnoringCase(name, {"From", "To", "Cc", "Bcc", "Reply-To", "Sender", "Subject"});
}

// Text of a part without a charset: UTF-8 when it is valid UTF-8, else Windows-1252, as plain text is.
std::string utf8OfUnlabelled(std::string_view bytes) {
  if (validUtf8PrefixLength(bytes) == bytes.size()) return std::string(bytes);
  return cp1252ToUtf8(bytes);
}

// The part's content, decoded from its transfer encoding and, when GMime knows it, its charset, as UTF-8.
std::string decodedContent(GMimePart* part) {
  GMimeDataWrapper* content = g_mime_part_get_content(part);
  if (content == nullptr) return {};
  const GObject<GMimeStream> memory(g_mime_stream_mem_new());
  const GObject<GMimeStream> filtered(g_mime_stream_filter_new(memory.get()));
  const char* charset = g_mime_object_get_content_type_parameter(GMIME_OBJECT(part), "charset");
  GMimeFilter* conversion = charset != nullptr ? g_mime_filter_charset_new(charset, "UTF-8") : nullptr;
  if (conversion != nullptr) {
    g_mime_stream_filter_add(GMIME_STREAM_FILTER(filtered.get()), conversion);
    g_object_unref(conversion);
  }
  g_mime_data_wrapper_write_to_stream(content, filtered.get());
  g_mime_stream_flush(filtered.get());
  const GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
  const std::string_view decoded(reinterpret_cast<const char*>(bytes->data), bytes->len);
  return conversion != nullptr ? std::string(decoded) : utf8OfUnlabelled(decoded);
}

class MessageWalker {
 public:
  explicit MessageWalker(DocumentText& text) : text_(text) {}

  void message(GMimeMessage* message, int depth) {
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
      GMimeHeader* header = g_mime_header_list_get_header_at(headers, i);
      const char* name = g_mime_header_get_name(header);
      const char* value = g_mime_header_get_value(header);
      if (name == nullptr || value == nullptr || !isReadHeader(name)) continue;
      text_.append(std::string(name) + ": " + value);
      text_.endParagraph();
    }
    if (GMimeObject* body = g_mime_message_get_mime_part(message)) part(body, depth + 1);
  }

 private:
  void part(GMimeObject* object, int depth) {
    if (depth > document_limits::kMaxMimeDepth) throw EOutOfResources(kStreamLoadError);
    if (GMIME_IS_MESSAGE_PART(object)) {
      if (GMimeMessage* attached = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object))) {
        message(attached, depth);
      }
    } else if (GMIME_IS_MULTIPART(object)) {
      GMimeMultipart* multipart = GMIME_MULTIPART(object);
      for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i) {
        part(g_mime_multipart_get_part(multipart, i), depth + 1);
      }
    } else if (GMIME_IS_PART(object)) {
      leaf(GMIME_PART(object));
    }
  }

  void leaf(GMimePart* leaf) {
    GMimeContentType* type = g_mime_object_get_content_type(GMIME_OBJECT(leaf));
    if (!g_mime_content_type_is_type(type, "text", "*")) return;
    const std::string content = decodedContent(leaf);
    if (g_mime_content_type_is_type(type, "text", "html")) {
      appendHtmlText(content, text_);
      return;
    }
    text_.append(content);
    text_.endParagraph();
  }

  DocumentText& text_;
};

void initializeGMime() {
  static std::once_flag once;
  std::call_once(once, [] { g_mime_init(); });
}

}  // namespace

bool MailReader::recognises(std::string_view start) {
  std::size_t at = 0;
  if (start.starts_with("From ")) {
    at = start.find('\n');
    if (at == std::string_view::npos) return false;
    ++at;
  }
  bool from = false;
  bool date = false;
  bool mimeOrReceived = false;
  bool anyField = false;
  while (at < start.size()) {
    const std::size_t end = start.find('\n', at);
    if (end == std::string_view::npos) return false;
    std::string_view line = start.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    at = end + 1;
    if (line.empty()) return from && date && mimeOrReceived;
    if (line.front() == ' ' || line.front() == '\t') {
      if (!anyField) return false;
      continue;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !isFieldName(line.substr(0, colon))) return false;
    const std::string_view name = line.substr(0, colon);
    from = from || equalsIgnoringCase(name, "From");
    date = date || equalsIgnoringCase(name, "Date");
    mimeOrReceived = mimeOrReceived || isOneOfIgnoringCase(name, {"MIME-Version", "Received"});
    anyField = true;
  }
  return false;
}

std::string MailReader::read(std::string_view bytes) {
  initializeGMime();
  const GObject<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
  const GObject<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
  g_mime_parser_set_format(parser.get(),
                           bytes.starts_with("From ") ? GMIME_FORMAT_MBOX : GMIME_FORMAT_MESSAGE);
  DocumentText text;
  MessageWalker walker(text);
  while (!g_mime_parser_eos(parser.get())) {
    const GObject<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message) break;
    walker.message(message.get(), 0);
  }
  return text.paneText();
}

}  // namespace glanex
