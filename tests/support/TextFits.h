#pragma once
// Which labels, buttons and boxes of a window cannot show their whole text at their present
// size: "name: text (needs N px, has M px)" for each, so a window test can ask for none.
#include <QStringList>

class QWidget;

QStringList ClippedTexts(const QWidget* window);
