#include "extraction/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "extraction/qt/QtCp1252.h"

namespace glanex {

namespace {

constexpr const char* kRtfTypes[] = {"text/rtf", "application/rtf"};

}  // namespace

QtClipboard::QtClipboard() = default;

QtClipboard::QtClipboard(const QMimeData* source) : source_(source) {}

const QMimeData* QtClipboard::source() const {
  return source_ != nullptr ? source_ : QGuiApplication::clipboard()->mimeData();
}

std::optional<std::string> QtClipboard::rtf() const {
  const QMimeData* data = source();
  if (data == nullptr) return std::nullopt;
  for (const char* type : kRtfTypes) {
    if (data->hasFormat(type)) return data->data(type).toStdString();
  }
  return std::nullopt;
}

std::optional<std::string> QtClipboard::plainText() const {
  const QMimeData* data = source();
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return data->text().toStdString();
}

void QtClipboard::setContent(const std::string& rtf, const std::string& plainText) {
  QGuiApplication::clipboard()->setMimeData(mimeDataFor(rtf, plainText));
}

QMimeData* QtClipboard::mimeDataFor(const std::string& rtf, const std::string& plainText) {
  auto* data = new QMimeData;
  const QByteArray rtfBytes = QByteArray::fromStdString(rtf);
  for (const char* type : kRtfTypes) data->setData(type, rtfBytes);
  // Programs on this desktop expect LF line breaks in plain text.
  data->setText(toQString(plainText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  return data;
}

}  // namespace glanex
