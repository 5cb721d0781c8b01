#pragma once

#include <QGroupBox>

namespace qfd {

// A frame whose caption sits on its top edge, so that controls placed by the design just below
// that edge stand inside it (a group box of the toolkit's style puts its title above the box).
class CaptionedFrame : public QGroupBox {
  public:
    CaptionedFrame(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qfd
