#include "support/TextFits.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QWidget>

namespace {
QString Stripped(QString text) { return text.remove('&'); }

QString Report(const QWidget* w, const QString& text, int needs, int has)
{
    return QString("%1: \"%2\" (needs %3 px, has %4 px)").arg(w->objectName(), text).arg(needs).arg(has);
}
}

QStringList ClippedTexts(const QWidget* window)
{
    QStringList clipped;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->objectName().isEmpty()) continue;
        const QFontMetrics metrics = w->fontMetrics();
        if (auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->wordWrap() || label->text().isEmpty() || label->text().contains('\n')) continue;
            const int needs = metrics.horizontalAdvance(Stripped(label->text()));
            // A framed label with no indent of its own indents its text by half an "x".
            const int indent = label->indent() >= 0 ? label->indent()
                               : label->frameWidth() > 0 ? metrics.horizontalAdvance('x') / 2 : 0;
            const int has = label->contentsRect().width() - 2 * label->margin() - indent;
            if (needs > has) clipped << Report(w, label->text(), needs, has);
        } else if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
            auto* tool = qobject_cast<const QToolButton*>(w);
            if (button->text().isEmpty() || (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
                continue;
            // What the style needs around the text: the bevel of a button, the indicator of a
            // check box or option button.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = Stripped(button->text());
            const QSize text(metrics.horizontalAdvance(option.text), metrics.height());
            QStyle::ContentsType type = QStyle::CT_PushButton;
            if (qobject_cast<const QCheckBox*>(w)) type = QStyle::CT_CheckBox;
            if (qobject_cast<const QRadioButton*>(w)) type = QStyle::CT_RadioButton;
            int needs = w->style()->sizeFromContents(type, &option, text, w).width();
            // A push button's own minimum width is a style preference, not part of its text.
            if (type == QStyle::CT_PushButton) needs = text.width() + 6;
            if (needs > button->width()) clipped << Report(w, button->text(), needs, button->width());
        } else if (auto* group = qobject_cast<const QGroupBox*>(w)) {
            if (group->title().isEmpty()) continue;
            const int needs = metrics.horizontalAdvance(Stripped(group->title())) + 12;
            if (needs > group->width()) clipped << Report(w, group->title(), needs, group->width());
        }
    }
    return clipped;
}
