#pragma once

#include <QGroupBox>

namespace glanex {

// A group box drawn the classic way: an etched frame whose top line runs through the middle of the caption.
// The windows' controls are laid out for that line; Qt's own styles draw it below the caption, across the
// first row of controls.
class EtchedGroupBox : public QGroupBox {
  Q_OBJECT

 public:
  EtchedGroupBox(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace glanex
