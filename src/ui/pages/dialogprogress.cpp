#include "dialogprogress.h"

#include <QProgressDialog>

DialogProgress::DialogProgress(QProgressDialog *dialog, QObject *parent)
    : QObject(parent)
    , m_dialog(dialog)
{
}

DialogProgress::~DialogProgress() = default;

QProgressDialog *DialogProgress::dialog() const
{
    return m_dialog;
}

void DialogProgress::start(int maximum, const QString &label)
{
    if (!m_dialog)
        return;
    // A cancel left over from an earlier transfer that never reached its next
    // step must not end this one.
    m_dialog->reset();
    m_dialog->setRange(0, qMax(maximum, 0));
    m_dialog->setLabelText(label);
    m_dialog->show();
    step(0);
}

int DialogProgress::step(int value)
{
    if (!m_dialog)
        return 0;
    if (m_dialog->wasCanceled()) {
        m_dialog->reset();
        return -1;
    }
    m_dialog->setValue(value);
    return 0;
}

void DialogProgress::finish()
{
    if (!m_dialog)
        return;
    // Hidden rather than closed: QProgressDialog treats a close as the
    // operator's cancel, which would end the next transfer at its first step.
    m_dialog->hide();
    m_dialog->reset();
}

bool DialogProgress::wasCancelled() const
{
    return m_dialog && m_dialog->wasCanceled();
}
