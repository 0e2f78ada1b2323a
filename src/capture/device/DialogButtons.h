#pragma once
// The OK and Cancel buttons of the capture window's own dialogs ("cmdOK", "cmdCancel"), with the
// interface's captions, right-aligned; OK accepts and is the default, Cancel rejects.
class QDialog;
class QHBoxLayout;

QHBoxLayout* DialogButtons(QDialog* dialog);
