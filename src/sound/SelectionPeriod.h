#pragma once
// Period and frequency from a typed number of cycles (the text box `Textcycle`): the period T is
// the selection's interval divided by the cycles, f = 1/T. The captions of `Labelperiod` and
// `Labelfrequency` are computed only here.

#include <QString>

class SelectionPeriod {
public:
    SelectionPeriod();

    // `Textcycle` changed. A count that reads as 0 or less (or is not a number) changes nothing.
    // intervalTime is the selection's displayed interval in seconds. A step whose arithmetic
    // fails (overflow) ends the computation and leaves the rest as it was.
    void CycleCountChanged(const QString& cycleText, const QString& intervalTime);
    // The selection changed: the values of the old one go, and the new interval is measured with
    // the cycles typed (a caption without a value where there is nothing to measure).
    void SelectionChanged(const QString& cycleText, const QString& intervalTime);

    const QString& periodSeconds() const { return periodSeconds_; }   // T, full precision
    const QString& frequencyHertz() const { return frequencyHertz_; } // f as displayed
    const QString& periodCaption() const { return periodCaption_; }       // `Labelperiod` caption
    const QString& frequencyCaption() const { return frequencyCaption_; } // `Labelfrequency` caption

private:
    QString periodSeconds_;
    QString frequencyHertz_;
    QString periodCaption_;
    QString frequencyCaption_;
};
