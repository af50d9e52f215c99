#include "extraction/PdfAnswer.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <poppler.h>

#include "extraction/PosixIo.h"

namespace glanex {

namespace {

void ignorePopplerMessage(const std::string&, void*) {}

// The URIs of a page's link annotations, which poppler's C++ interface does not give: through its GLib one.
class PageLinks {
 public:
  explicit PageLinks(std::string_view bytes) {
    GBytes* data = g_bytes_new_static(bytes.data(), bytes.size());
    document_ = poppler_document_new_from_bytes(data, nullptr, nullptr);
    g_bytes_unref(data);
  }
  ~PageLinks() {
    if (document_ != nullptr) g_object_unref(document_);
  }
  PageLinks(const PageLinks&) = delete;
  PageLinks& operator=(const PageLinks&) = delete;

  // Each URI on a line of its own.
  std::string of(int index) const {
    std::string uris;
    PopplerPage* page = document_ != nullptr ? poppler_document_get_page(document_, index) : nullptr;
    if (page == nullptr) return uris;
    GList* mapping = poppler_page_get_link_mapping(page);
    for (const GList* item = mapping; item != nullptr; item = item->next) {
      const PopplerAction* action = static_cast<const PopplerLinkMapping*>(item->data)->action;
      if (action != nullptr && action->type == POPPLER_ACTION_URI && action->uri.uri != nullptr) {
        uris += action->uri.uri;
        uris += '\n';
      }
    }
    poppler_page_free_link_mapping(mapping);
    g_object_unref(page);
    return uris;
  }

 private:
  PopplerDocument* document_ = nullptr;
};

// A word of a page, where it stands and how big it is set.
struct PlacedWord {
  std::string text;
  double left, right, top, bottom, size;
  bool spaceAfter;

  double middle() const { return (top + bottom) / 2; }
};

std::vector<PlacedWord> wordsOf(const poppler::page& page) {
  std::vector<PlacedWord> words;
  for (const poppler::text_box& box : page.text_list(poppler::page::text_list_include_font)) {
    const poppler::byte_array text = box.text().to_utf8();
    const poppler::rectf place = box.bbox();
    words.push_back({std::string(text.data(), text.size()), place.left(), place.right(), place.top(),
                     place.bottom(), box.get_font_size(), box.has_space_after()});
  }
  return words;
}

// The words of each text line, left to right: a word belongs to a line when its middle lies within the
// line's height, or the line's middle within the word's, so that raised or lowered figures stay on it.
std::vector<std::vector<PlacedWord>> linesOf(std::vector<PlacedWord> words) {
  std::stable_sort(words.begin(), words.end(),
                   [](const PlacedWord& a, const PlacedWord& b) { return a.middle() < b.middle(); });
  std::vector<std::vector<PlacedWord>> lines;
  double top = 0;
  double bottom = 0;
  for (PlacedWord& word : words) {
    const double middle = (top + bottom) / 2;
    const bool sameLine = !lines.empty() && ((word.middle() >= top && word.middle() <= bottom) ||
                                             (middle >= word.top && middle <= word.bottom));
    if (sameLine) {
      top = std::min(top, word.top);
      bottom = std::max(bottom, word.bottom);
    } else {
      lines.emplace_back();
      top = word.top;
      bottom = word.bottom;
    }
    lines.back().push_back(std::move(word));
  }
  for (std::vector<PlacedWord>& line : lines) {
    std::stable_sort(line.begin(), line.end(),
                     [](const PlacedWord& a, const PlacedWord& b) { return a.left < b.left; });
  }
  return lines;
}

// A page's text, a line per text line. Words set at another size are kept apart even when they touch: a
// footnote's raised number right after an address is no part of it.
std::string pageText(const poppler::page& page) {
  std::string text;
  for (const std::vector<PlacedWord>& line : linesOf(wordsOf(page))) {
    for (std::size_t index = 0; index < line.size(); ++index) {
      if (index > 0) {
        const PlacedWord& before = line[index - 1];
        const PlacedWord& word = line[index];
        const bool touching = word.left - before.right < before.size / 10;
        if (before.spaceAfter || !touching || before.size != word.size) text += ' ';
      }
      text += line[index].text;
    }
    text += '\n';
  }
  return text;
}

}  // namespace

void PdfAnswer::write(int out, std::string_view bytes) {
  poppler::set_debug_error_function(ignorePopplerMessage, nullptr);
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
  const std::unique_ptr<poppler::document> document(
      poppler::document::load_from_raw_data(bytes.data(), size));
  if (!document) {
    writeAll(out, std::string(1, kUnreadable));
    return;
  }
  if (document->is_locked()) {
    writeAll(out, std::string(1, kLocked));
    return;
  }
  writeAll(out, std::string(1, kText));
  const PageLinks links(bytes);
  for (int index = 0; index < document->pages(); ++index) {
    const std::unique_ptr<poppler::page> page(document->create_page(index));
    if (!page) continue;
    const std::string text = pageText(*page);
    if (!writeAll(out, text) || !writeAll(out, links.of(index))) {
      return;
    }
  }
}

}  // namespace glanex

extern "C" __attribute__((visibility("default"))) int glanexWritePdfAnswer(int out, const char* bytes,
                                                                           std::size_t size) {
  try {
    glanex::PdfAnswer::write(out, {bytes, size});
    return 0;
  } catch (...) {
    return 1;
  }
}
