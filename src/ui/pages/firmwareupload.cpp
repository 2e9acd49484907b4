#include "firmwareupload.h"

#include <QDir>
#include <QTimer>
#include <QWidget>

#include "core/link/logging.h"
#include "ui/common/prompt.h"

FirmwareUpload::FirmwareUpload(Link *link, Prompt *prompt, ProgressSteps *progress, QWidget *window)
    : QObject(window)
    , m_prompt(prompt ? prompt : Prompt::standard())
    , m_window(window)
    , m_uploader(new FirmwareUploader(link, progress, this))
{
    connect(m_uploader, &FirmwareUploader::ended, this, &FirmwareUpload::uploadEnded);
}

FirmwareUpload::~FirmwareUpload() = default;

void FirmwareUpload::begin(FirmwareUploader::Target target)
{
    const bool arm = target == FirmwareUploader::Arm;
    const QString filter = arm ? tr("sbin Files (*.sbin)") : tr("ldr Files (*.ldr)");
    const QString path = m_prompt->openFileName(m_window, tr("Find Files"), QDir::currentPath(), filter);
    (arm ? m_armPath : m_dspPath) = path;
    if (path.isEmpty())
        return;

    const FirmwareUploader::Image image = FirmwareUploader::readImage(target, path);
    switch (image.check) {
    case FirmwareUploader::Check::Ok:
        break;
    case FirmwareUploader::Check::BadHeader:
        qCDebug(lcPages, "0x%x", image.headerByte);
        m_prompt->ask(m_window, Prompt::Icon::Critical, tr("error"), tr("Bad file format"), {tr("Yes"), tr("No")});
        return;
    case FirmwareUploader::Check::CannotOpen:
        m_prompt->tell(m_window, Prompt::Icon::Critical, tr("error"),
                       tr("Cannot read the firmware file:\n%1").arg(QDir::toNativeSeparators(path)));
        return;
    case FirmwareUploader::Check::Empty:
        m_prompt->tell(m_window, Prompt::Icon::Critical, tr("error"), tr("The firmware file is empty."));
        return;
    case FirmwareUploader::Check::TooLarge:
        m_prompt->tell(m_window, Prompt::Icon::Critical, tr("error"),
                       tr("The firmware file is too large: the unit takes at most %1 bytes.")
                           .arg(FirmwareUploader::MaxImageSize));
        return;
    }
    m_uploader->start(target, image.bytes, tr("updating..."));
}

void FirmwareUpload::onUpgradeAck(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    m_uploader->onUpgradeAck(module, param, op, length, payload);
}

void FirmwareUpload::uploadEnded(FirmwareUploader::Outcome outcome)
{
    // A finished or cancelled upload closes its dialog and says nothing more;
    // an upload cut short by the link must not look finished.
    if (outcome != FirmwareUploader::Outcome::LinkLost && outcome != FirmwareUploader::Outcome::SendFailed)
        return;
    // Told after the link's handler has returned: a modal box must not run
    // its event loop inside the frame dispatch.
    QTimer::singleShot(0, this, [this] {
        m_prompt->tell(m_window, Prompt::Icon::Critical, tr("error"),
                       tr("The connection to the unit was lost: the firmware upgrade did not finish."));
    });
}
