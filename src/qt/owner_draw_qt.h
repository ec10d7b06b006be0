#pragma once
// The controls the program paints itself: graphical buttons, pictures, and the check box whose
// state only the program sets.
#include <QCheckBox>
#include <QColor>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace harumado::qt {

// A graphical button: its back colour, a raised (or, pressed, sunken) edge, the picture centred
// above the caption, the caption centred and wrapped onto as many lines as it needs.
class GraphicalButton final : public QPushButton {
 public:
  explicit GraphicalButton(QWidget* parent) : QPushButton(parent) {}
  QColor back;
  QColor fore;
  QPixmap picture;  // drawn for 96 dpi
  int dpi = 96;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A picture drawn from the top-left corner on its ground colour, scaled from 96 dpi.
class PictureBox final : public QWidget {
 public:
  explicit PictureBox(QWidget* parent) : QWidget(parent) {}
  QColor ground;
  QPixmap picture;
  int dpi = 96;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A check box that does not toggle itself when clicked: the program decides its state (the
// click toggles the model's value, which comes back here).
class ProgramCheckBox final : public QCheckBox {
 public:
  explicit ProgramCheckBox(QWidget* parent) : QCheckBox(parent) {}

 protected:
  void nextCheckState() override {}
};

}  // namespace harumado::qt
