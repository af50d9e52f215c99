#pragma once

#include <QString>

#include "widgets/qt/TrackLabel.h"

namespace glanex {

// A label that opens its Url with the user's registered program when clicked: a web page in the browser, a
// "mailto:" address in the mail program. It underlines itself while the pointer is over it.
class THotLink : public TTrackLabel {
  Q_OBJECT

 public:
  explicit THotLink(QWidget* parent = nullptr);

  // The address the next click opens. Setting it does nothing else.
  const QString& Url() const { return url_; }
  void setUrl(const QString& url) { url_ = url; }

  // Asks the desktop to open `document` with its registered program, without waiting for that program.
  // Returns false when the desktop cannot open it.
  static bool OpenDocument(const QString& document);

 public Q_SLOTS:
  // Emits clicked(), then opens Url. A Url that cannot be opened is ignored without a message.
  void click();

 Q_SIGNALS:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString url_;
};

}  // namespace glanex
