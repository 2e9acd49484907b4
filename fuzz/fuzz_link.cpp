// The control link from the unit's side: arbitrary bytes through reassembly
// and dispatch into the real handlers of the main window (login, system
// messages, firmware acknowledgements) and of every function page.
//
// Input: the first byte's low six bits are the size of each read (0: the
// whole input in one read) and its top two bits a transfer the operator has
// just started on the preset page (0 none, 1 export of one slot, 2 import of
// one slot, 3 export of all slots), so the unit's transfer replies meet a
// page that waits for them; the rest is the byte stream as the socket would
// deliver it.

#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "fuzzsupport.h"
#include "ui/common/modulepage.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qpreset.h"
#include "ui/window/mainwindow.h"

namespace {

mainWindow *window = nullptr;
QList<ModulePage *> pages;

// Answers file dialogs with the transfer's file while one is being started.
class TransferPrompt final : public Prompt
{
public:
    QString file;
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return -1; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return file; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return file; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};
TransferPrompt prompt;
QString importFile;
QString exportFile;

void startTransfer(int which)
{
    QPreset *page = window->funcWidget()->preset();
    prompt.file = which == 2 ? importFile : exportFile;
    switch (which) {
    case 1: page->slotButton(3, QPreset::ExportButton)->click(); break;
    case 2: page->slotButton(3, QPreset::ImportButton)->click(); break;
    case 3: page->exportAllButton()->click(); break;
    default: break;
    }
    prompt.file.clear();
}

// Done on the first input, not in LLVMFuzzerInitialize: with -jobs the
// driver process must keep its working directory, where the job logs go.
void setUp()
{
    FuzzSupport::application();
    const QString dir = FuzzSupport::scratchDir();
    importFile = dir + QStringLiteral("/import.pst1");
    exportFile = dir + QStringLiteral("/export.pst1");
    QFile file(importFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(3000, 'i')) != 3000)
        std::abort();
    // Nothing is ever connected: every frame the handlers send is dropped by
    // the link, and the listener only binds a free port.
    AppOptions options;
    options.controlPort = 9;
    options.discoveryPort = 0;
    options.commandAddress = QStringLiteral("127.0.0.1");
    options.commandPort = 9;
    auto *settings = new QSettings(dir + QStringLiteral("/store.ini"), QSettings::IniFormat);
    window = new mainWindow(options, &prompt, settings);
    pages = window->findChildren<ModulePage *>();
    // The input-delay page is out of the widget tree while a family-2 page
    // set is shown.
    if (ModulePage *delay = window->funcWidget()->pageForModule(Frame::InDelay); !pages.contains(delay))
        pages.append(delay);
    for (ModulePage *page : qAsConst(pages))
        page->timer()->stop();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (setUp(), true);
    Q_UNUSED(ready)
    if (size < 1)
        return 0;
    Link *link = window->link();
    link->clearReceiveBuffer();
    // Every input starts from a link just lost: no transfer, no meters.
    Q_EMIT link->linkLost();
    startTransfer(data[0] >> 6);
    const size_t read = (data[0] & 0x3F) == 0 ? size - 1 : (data[0] & 0x3F);
    for (size_t at = 1; at < size; at += read) {
        const size_t n = std::min(read, size - at);
        link->receive(QByteArray(reinterpret_cast<const char *>(data + at), int(n)));
    }
    // One page tick after the reports, so pending sends, hold-offs and
    // transfer states run on what the input left behind.
    for (ModulePage *page : qAsConst(pages))
        page->timeOut20ms();
    // What the input left queued (messages for later, objects let go of
    // with deleteLater()) runs now: no event loop runs between inputs.
    // Posted events only: timers and socket notifiers would make a run
    // depend on the clock, and CI's fixed-seed run must repeat exactly.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
