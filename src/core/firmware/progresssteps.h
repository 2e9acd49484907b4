#pragma once

#include <QString>

// The three operations of the application's shared progress dialog, as the
// long transfers (firmware upload, preset copies) use them. The core code
// drives this interface; the window implements it with its dialog, and tests
// with a script.
class ProgressSteps
{
public:
    virtual ~ProgressSteps() = default;

    // Range 0..maximum, the label, the dialog shown, then step(0).
    virtual void start(int maximum, const QString &label) = 0;
    // -1 when the operator has cancelled (the dialog is then reset), else
    // sets the value and returns 0.
    virtual int step(int value) = 0;
    // Resets the dialog and closes it.
    virtual void finish() = 0;
    // Whether the operator has cancelled since the last start.
    virtual bool wasCancelled() const = 0;
};
