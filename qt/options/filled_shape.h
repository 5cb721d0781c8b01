#pragma once

#include <QWidget>
#include <cstdint>

namespace qfd {

// A filled rectangle with a thin dark border (the colour swatches and the preview's background).
class FilledShape : public QWidget {
  public:
    explicit FilledShape(QWidget* parent);

    void SetFill(std::uint32_t colour);  // 0x00BBGGRR
    std::uint32_t Fill() const { return fill_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint32_t fill_ = 0;
};

}  // namespace qfd
