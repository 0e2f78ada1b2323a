#pragma once
// A window's controls built from a table: each row names a control (its objectName), says what
// kind it is by the typed pointer it fills, where it sits (inside the control an earlier row
// made, or the root) with its rectangle in twips, and which text-table entry its caption is. One
// loop builds them, so a window holds typed pointers to its controls and never looks them up.
#include <QRect>
#include <variant>

class PictureBox;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;
class TwipLayout;

struct ControlRow {
    enum Style { Plain = 0, Sunken = 1, Hidden = 2, VerticalLine = 4 };
    using Slot = std::variant<QLabel**, QPushButton**, QLineEdit**, QCheckBox**, QRadioButton**,
                              QGroupBox**, QFrame**, PictureBox**, QSlider**>;

    const char* name;
    Slot control;                      // filled with the new control; a null QLabel** for
                                       // captions the window never touches again
    QRect twips;
    int text = 0;                      // caption's text-table entry; 0 for none
    QWidget* const* parent = nullptr;  // the parent's pointer (an earlier row's); null: the root
    int style = Plain;
};

// A caption label the window never needs again.
inline constexpr QLabel** Caption = nullptr;

void BuildControls(QWidget* root, TwipLayout& layout, std::initializer_list<ControlRow> rows);
