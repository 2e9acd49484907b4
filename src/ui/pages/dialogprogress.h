#pragma once

#include <QObject>
#include <QPointer>

#include "core/firmware/progresssteps.h"

class QProgressDialog;

// The shared progress dialog's three operations on the window's
// QProgressDialog.
class DialogProgress : public QObject, public ProgressSteps
{
    Q_OBJECT
    Q_DISABLE_COPY(DialogProgress)

public:
    explicit DialogProgress(QProgressDialog *dialog, QObject *parent = nullptr);
    ~DialogProgress() override;

    QProgressDialog *dialog() const;

    void start(int maximum, const QString &label) override;
    int step(int value) override;
    void finish() override;
    bool wasCancelled() const override;

private:
    QPointer<QProgressDialog> m_dialog;
};
