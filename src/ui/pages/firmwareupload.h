#pragma once

#include <QObject>
#include <QString>

#include "core/firmware/firmwareuploader.h"

class Link;
class ProgressSteps;
class Prompt;
class QWidget;

// The "Update ARM Firmware" / "Update DSP Firmware" procedure: asks for the
// image, checks it, and runs the upload with the shared progress dialog.
class FirmwareUpload : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(FirmwareUpload)

public:
    // `window` parents the file dialog and message boxes.
    FirmwareUpload(Link *link, Prompt *prompt, ProgressSteps *progress, QWidget *window);
    ~FirmwareUpload() override;

    FirmwareUploader *uploader() const { return m_uploader; }
    // The last image chosen for each target (empty after a cancelled choice).
    QString armPath() const { return m_armPath; }
    QString dspPath() const { return m_dspPath; }

    // Asks for a file and starts the upload; the caller checks the login.
    void begin(FirmwareUploader::Target target);

    void onUpgradeAck(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);

private:
    void uploadEnded(FirmwareUploader::Outcome outcome);

    Prompt *m_prompt;
    QWidget *m_window;
    FirmwareUploader *m_uploader;
    QString m_armPath;
    QString m_dspPath;
};
