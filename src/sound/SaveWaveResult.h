#pragma once
// The outcome of writing a sound out (a WAV clip, a whole copy, an MP3 encoding). A failure
// carries the message box the window shows: "Error in Saving file: " + the file's name, titled
// "Save Error", with the critical icon; `detail` says what went wrong, for a log or a test.

#include <QString>

struct SaveWaveResult {
    bool ok = true;
    QString message;   // "Error in Saving file: " + fileName
    QString title;     // "Save Error"
    QString detail;    // the cause, in plain English ("cannot create the file", ...)

    static SaveWaveResult Success() { return {}; }
    static SaveWaveResult Failure(const QString& fileName, const QString& detail);

    // Shows the failure through the installed Prompts (critical icon, OK button); nothing when
    // the save succeeded.
    void Show() const;
};
