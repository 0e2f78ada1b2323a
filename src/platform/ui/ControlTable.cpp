#include "platform/ui/ControlTable.h"

#include "platform/ui/PictureBox.h"
#include "platform/ui/TwipLayout.h"
#include "text/LoadText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {
template <class W> W* make(QWidget* parent) { return new W(parent); }
template <> QSlider* make<QSlider>(QWidget* parent) { return new QSlider(Qt::Horizontal, parent); }

void caption(QWidget* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(text);
}
}

void BuildControls(QWidget* root, TwipLayout& layout, std::initializer_list<ControlRow> rows)
{
    for (const ControlRow& row : rows) {
        QWidget* parent = row.parent ? *row.parent : root;
        QWidget* control = std::visit(
            [parent](auto slot) -> QWidget* {
                using W = std::remove_pointer_t<std::remove_pointer_t<decltype(slot)>>;
                W* made = make<W>(parent);
                if (slot) *slot = made;
                return made;
            },
            row.control);
        control->setObjectName(row.name);
        if (auto* frame = qobject_cast<QFrame*>(control)) {
            if (row.style & ControlRow::Sunken) {
                frame->setFrameShape(QFrame::Panel);
                frame->setFrameShadow(QFrame::Sunken);
            }
            if (row.style & ControlRow::VerticalLine) {
                frame->setFrameShape(QFrame::VLine);
                frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            }
        }
        if (qobject_cast<QPushButton*>(control)) control->setFocusPolicy(Qt::TabFocus);
        if (row.text) caption(control, LoadText(row.text));
        if (row.style & ControlRow::Hidden) control->hide();
        layout.place(control, row.twips.left(), row.twips.top(), row.twips.width(), row.twips.height());
    }
}
