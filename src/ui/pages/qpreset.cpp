#include "qpreset.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <iterator>

#include "core/firmware/progresssteps.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"
#include "core/presets/presetimage.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"

namespace {

// The page's own messages; the transfers' are PresetTransfer's.
enum Param : quint8 {
    ListParam = 1,
    SaveParam = 2,
    EraseParam = 4,
    RenameParam = 5,
    RecallParam = 9,
};

constexpr int ListReportSize = 1 + QPreset::Slots * (1 + QPreset::NameSize);
static_assert(ListReportSize == 545, "slot list report");
static_assert(QPreset::Slots == PresetTransfer::Slots, "one slot count");

constexpr int ColumnWidths[] = {185, 74, 74, 74, 74, 74};
constexpr int BottomButtonWidth = 100;
constexpr int BottomButtonHeight = 30;

const char *const ButtonTexts[QPreset::SlotButtonCount] = {
    QT_TRANSLATE_NOOP("QPreset", "Save"),   QT_TRANSLATE_NOOP("QPreset", "Recall"),
    QT_TRANSLATE_NOOP("QPreset", "Import"), QT_TRANSLATE_NOOP("QPreset", "Export"),
    QT_TRANSLATE_NOOP("QPreset", "Delete"),
};

} // namespace

const QString QPreset::CurrentRecallStyle = QStringLiteral(
    "QPushButton{border:1px solid rgb(23, 22, 22);border-radius: 2px;background: rgb(21, 148, 192);"
    "color: rgb(228, 236, 238);}QPushButton:!enabled{background: rgb(60, 60, 60);color: rgb(100, 100, 100);}");
const QString QPreset::NormalRecallStyle = QStringLiteral(
    "QPushButton{border:1px solid rgb(23, 22, 22);border-radius: 2px;background-color: rgb(75, 74, 74);"
    "color: rgb(171, 171, 171);}QPushButton:!enabled{background: rgb(60, 60, 60);color: rgb(100, 100, 100);}");

QPreset::QPreset(Link *link, QWidget *parent)
    : ModulePage(link, Frame::Presets, 0, DefaultTickMs, parent)
    , m_prompt(Prompt::standard())
    // The function pages route module 32 to onMessage(), which passes the
    // transfer replies on.
    , m_transfer(new PresetTransfer(link, PresetTransfer::Delivery::ByCaller, this))
{
    setObjectName(QStringLiteral("Preset"));
    build();
    retranslate();
    connect(m_transfer, &PresetTransfer::finished, this, &QPreset::transferEnded);
    // Nothing more will come for a recall under way: close the dialog rather
    // than leave it waiting for replies.
    if (link)
        connect(link, &Link::linkLost, this, &QPreset::linkLost);
}

QPreset::~QPreset() = default;

void QPreset::setPrompt(Prompt *prompt)
{
    m_prompt = prompt ? prompt : Prompt::standard();
}

void QPreset::setProgress(ProgressSteps *progress)
{
    m_progress = progress;
    m_transfer->setProgress(progress);
}

void QPreset::build()
{
    m_table = new QTableWidget(Slots, int(std::size(ColumnWidths)), this);
    m_table->setObjectName(QStringLiteral("presetTable"));
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setFocusPolicy(Qt::NoFocus);
    // The table, its headers and corner hold no action of their own: each
    // row's name field and buttons are tab stops, row by row.
    KeyboardAccess::markMouseOnly(m_table);
    KeyboardAccess::markMouseOnly(m_table->horizontalHeader());
    KeyboardAccess::markMouseOnly(m_table->verticalHeader());
    if (auto *corner = m_table->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        KeyboardAccess::markMouseOnly(corner);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // As wide as its columns, no wider; the rows scroll.
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    for (int c = 0; c < int(std::size(ColumnWidths)); ++c)
        m_table->setColumnWidth(c, ColumnWidths[c]);

    for (int s = 0; s < Slots; ++s) {
        SlotRow &row = m_slots[size_t(s)];
        row.edit = new QLineEdit(m_table);
        row.edit->setMaxLength(NameSize);
        m_table->setCellWidget(s, 0, row.edit);
        connect(row.edit, &QLineEdit::editingFinished, this, &QPreset::nameEditingFinished);
        for (int b = 0; b < SlotButtonCount; ++b) {
            auto *button = new QPushButton(m_table);
            row.buttons[size_t(b)] = button;
            m_table->setCellWidget(s, 1 + b, button);
        }
        QPushButton *recall = row.buttons[RecallButton];
        recall->setStyleSheet(NormalRecallStyle);
        // Only a used slot can be recalled, exported or erased.
        recall->setEnabled(false);
        row.buttons[ExportButton]->setEnabled(false);
        row.buttons[DeleteButton]->setEnabled(false);
        connect(row.buttons[SaveButton], &QPushButton::clicked, this, &QPreset::saveClicked);
        connect(recall, &QPushButton::clicked, this, &QPreset::recallClicked);
        connect(row.buttons[ImportButton], &QPushButton::clicked, this, &QPreset::importOneClicked);
        connect(row.buttons[ExportButton], &QPushButton::clicked, this, &QPreset::exportOneClicked);
        connect(row.buttons[DeleteButton], &QPushButton::clicked, this, &QPreset::eraseClicked);
    }

    auto makeButton = [this]() {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("presetButton"));
        button->setFixedSize(BottomButtonWidth, BottomButtonHeight);
        QFont font = button->font();
        font.setPointSize(9);
        button->setFont(font);
        return button;
    };
    // "Offline Import" has to fit 100 pixels.
    setStyleSheet(QStringLiteral("QPushButton#presetButton { padding: 2px 1px; }"));
    m_importAll = makeButton();
    m_exportAll = makeButton();
    m_offlineSave = makeButton();
    m_offlineImport = makeButton();
    connect(m_importAll, &QPushButton::clicked, this, &QPreset::importAllClicked);
    connect(m_exportAll, &QPushButton::clicked, this, &QPreset::exportAllClicked);
    connect(m_offlineSave, &QPushButton::clicked, this, &QPreset::savepcClicked);
    connect(m_offlineImport, &QPushButton::clicked, this, &QPreset::offlineImportClicked);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(m_importAll);
    buttons->addWidget(m_exportAll);
    buttons->addWidget(m_offlineSave);
    buttons->addWidget(m_offlineImport);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    auto *tableRow = new QHBoxLayout;
    tableRow->addWidget(m_table);
    tableRow->addStretch(1);
    layout->addLayout(tableRow, 1);
    layout->addLayout(buttons);
}

void QPreset::retranslate()
{
    QStringList headers{tr("Name")};
    for (int b = 0; b < SlotButtonCount; ++b)
        headers << QString();
    m_table->setHorizontalHeaderLabels(headers);
    for (SlotRow &row : m_slots) {
        for (int b = 0; b < SlotButtonCount; ++b)
            row.buttons[size_t(b)]->setText(tr(ButtonTexts[b]));
    }
    m_importAll->setText(tr("Import All"));
    m_exportAll->setText(tr("Export All"));
    m_offlineSave->setText(tr("Offline Save"));
    m_offlineImport->setText(tr("Offline Import"));
    m_transfer->setProgressLabels(tr("Export to PC..."), tr("Import from PC..."));

    // Rows count from 1 on screen as in the header.
    for (int s = 0; s < Slots; ++s) {
        const SlotRow &row = m_slots[size_t(s)];
        const int number = s + 1;
        KeyboardAccess::describe(row.edit, tr("Preset %1 name").arg(number));
        KeyboardAccess::describe(row.buttons[SaveButton], tr("Preset %1 save").arg(number),
                                 tr("Save the unit's current settings into this preset"));
        KeyboardAccess::describe(row.buttons[RecallButton], tr("Preset %1 recall").arg(number));
        KeyboardAccess::describe(row.buttons[ImportButton], tr("Preset %1 import").arg(number),
                                 tr("Copy a preset file from the PC into this preset"));
        KeyboardAccess::describe(row.buttons[ExportButton], tr("Preset %1 export").arg(number),
                                 tr("Copy this preset to a file on the PC"));
        KeyboardAccess::describe(row.buttons[DeleteButton], tr("Preset %1 delete").arg(number));
    }
    KeyboardAccess::describe(m_importAll, tr("Import All"), tr("Copy an all-presets file from the PC into the unit"));
    KeyboardAccess::describe(m_exportAll, tr("Export All"), tr("Copy every preset of the unit to a file on the PC"));
    KeyboardAccess::describe(m_offlineSave, tr("Offline Save"), tr("Save the current settings to a file on the PC"));
    KeyboardAccess::describe(m_offlineImport, tr("Offline Import"),
                             tr("Load settings from a file on the PC into the pages"));
    KeyboardAccess::describe(m_table, tr("Preset slots"));
    KeyboardAccess::describe(m_table->horizontalHeader(), tr("Preset columns"));
    KeyboardAccess::describe(m_table->verticalHeader(), tr("Preset numbers"));
    if (auto *corner = m_table->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly))
        KeyboardAccess::describe(corner, tr("Preset table corner"));
}

void QPreset::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ModulePage::changeEvent(event);
}

QString QPreset::nameText(const QByteArray &bytes)
{
    const int length = int(qstrnlen(bytes.constData(), uint(qMin(bytes.size(), NameSize))));
    return QString::fromLocal8Bit(bytes.constData(), length);
}

int QPreset::slotOf(const QObject *sender, SlotButton which) const
{
    for (int s = 0; s < Slots; ++s) {
        if (sender && m_slots[size_t(s)].buttons[size_t(which)] == sender)
            return s;
    }
    return -1;
}

// Polling: the slot list every 200 ms while shown.

void QPreset::poll(quint32 tick)
{
    if (tick % PollTicks == 0)
        queryAll(ListParam);
}

// Slot list.

void QPreset::setCurrent(int slot)
{
    if (m_current >= 0)
        m_slots[size_t(m_current)].buttons[RecallButton]->setStyleSheet(NormalRecallStyle);
    if (slot >= 0)
        m_slots[size_t(slot)].buttons[RecallButton]->setStyleSheet(CurrentRecallStyle);
    m_current = slot;
}

void QPreset::setUsed(int slot, bool used)
{
    SlotRow &row = m_slots[size_t(slot)];
    row.used = used;
    row.buttons[RecallButton]->setEnabled(used);
    row.buttons[ExportButton]->setEnabled(used);
    row.buttons[DeleteButton]->setEnabled(used);
}

void QPreset::showName(int slot)
{
    SlotRow &row = m_slots[size_t(slot)];
    const QSignalBlocker blocker(row.edit);
    row.edit->setText(nameText(row.name));
}

void QPreset::onSlotList(const uchar *payload)
{
    // Signed: 0xFF (-1) means no current preset; 32 and above are not slots
    // and leave the highlight alone.
    const int current = qint8(payload[0]);
    if (current < Slots && current != m_current)
        setCurrent(current < 0 ? -1 : current);
    for (int s = 0; s < Slots; ++s) {
        const uchar *entry = payload + 1 + s * (1 + NameSize);
        SlotRow &row = m_slots[size_t(s)];
        const bool used = entry[0] != 0;
        if (used != row.used)
            setUsed(s, used);
        const QByteArray name(reinterpret_cast<const char *>(entry + 1), NameSize);
        if (name != row.name) {
            row.name = name;
            // The operator's typing is not overwritten; the name reported
            // now is what a refused entry falls back to.
            if (!row.edit->hasFocus())
                showName(s);
        }
    }
}

// Operator actions on a slot.

bool QPreset::confirm(int slot, const QString &question, bool destructive)
{
    // The question names the slot as the table shows it, from 1, with its
    // stored name; a question that overwrites something defaults to "No".
    const QString name = nameText(m_slots[size_t(slot)].name);
    const QString number = QString::number(slot + 1);
    const QString text = question + QLatin1Char('\n')
        + (name.isEmpty() ? tr("Preset %1").arg(number) : tr("Preset %1 \"%2\"").arg(number, name));
    const QStringList buttons{tr("Yes"), tr("No")};
    if (destructive)
        return m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), text, buttons);
    return m_prompt->ask(this, Prompt::Icon::Warning, tr("warning"), text, buttons) == 0;
}

void QPreset::saveClicked()
{
    const int slot = slotOf(sender(), SaveButton);
    if (slot >= 0 && confirm(slot, tr("Save preset?"), m_slots[size_t(slot)].used))
        sendSet(SaveParam, quint8(slot), nullptr, 0);
}

void QPreset::recallClicked()
{
    // A recall replaces every setting the unit runs with.
    const int slot = slotOf(sender(), RecallButton);
    if (slot >= 0 && confirm(slot, tr("Recall preset?"), true))
        sendSet(RecallParam, quint8(slot), nullptr, 0);
}

void QPreset::eraseClicked()
{
    const int slot = slotOf(sender(), DeleteButton);
    if (slot >= 0 && confirm(slot, tr("Erase preset?"), true))
        sendSet(EraseParam, quint8(slot), nullptr, 0);
}

void QPreset::nameEditingFinished()
{
    auto *edit = qobject_cast<QLineEdit *>(sender());
    int slot = -1;
    for (int s = 0; s < Slots; ++s) {
        if (edit && m_slots[size_t(s)].edit == edit)
            slot = s;
    }
    if (slot < 0)
        return;
    SlotRow &row = m_slots[size_t(slot)];
    // Losing the focus, or the box below taking it, finishes the editing
    // again: the handler is taken off until it is done.
    disconnect(edit, &QLineEdit::editingFinished, this, &QPreset::nameEditingFinished);
    edit->clearFocus();
    const QByteArray bytes = edit->text().toLocal8Bit();
    if (bytes.isEmpty()) {
        showName(slot);
    } else if (bytes.size() > NameSize) {
        m_prompt->tell(this, Prompt::Icon::Information, tr("Preset"),
                       tr("The preset name's length can not be greater than 16 bytes, please enter again!"));
        showName(slot);
    } else {
        row.name = bytes.leftJustified(NameSize, '\0');
        showName(slot);
        sendSet(RenameParam, quint8(slot), bytes);
    }
    connect(edit, &QLineEdit::editingFinished, this, &QPreset::nameEditingFinished);
}

// Transfers: the operator picks the file, the unit leads from there.

void QPreset::importOneClicked()
{
    const int slot = slotOf(sender(), ImportButton);
    if (slot < 0)
        return;
    const QString path = m_prompt->openFileName(this, tr("pst Files"), QDir::currentPath(), tr("pst Files (*.pst1)"));
    if (path.isEmpty())
        return;
    if (m_slots[size_t(slot)].used
        && !confirm(slot, tr("Replace this preset with %1?").arg(QDir::toNativeSeparators(path)), true))
        return;
    m_transfer->importSlot(slot, path);
}

void QPreset::exportOneClicked()
{
    const int slot = slotOf(sender(), ExportButton);
    if (slot < 0)
        return;
    const QString path = m_prompt->saveFileName(this, tr("pst Files"), QDir::currentPath(), tr("pst Files (*.pst1)"));
    if (path.isEmpty())
        return;
    m_transfer->exportSlot(slot, path);
}

void QPreset::importAllClicked()
{
    const QString path = m_prompt->openFileName(this, tr("pst Files"), QDir::currentPath(), tr("pst Files (*.pst)"));
    if (path.isEmpty())
        return;
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"),
                                      tr("Replace every preset of the unit with the presets of %1?")
                                          .arg(QDir::toNativeSeparators(path)),
                                      {tr("Yes"), tr("No")}))
        return;
    m_transfer->importAll(path);
}

void QPreset::exportAllClicked()
{
    const QString path = m_prompt->saveFileName(this, tr("pst Files"), QDir::currentPath(), tr("pst Files (*.pst)"));
    if (path.isEmpty())
        return;
    m_transfer->exportAll(path);
}

// Offline files: written and read by the function pages, without the unit.

void QPreset::savepcClicked()
{
    const QString filter48k = tr("SHARC21488_48K (*.pst1)");
    const QString filters = tr("SHARC21489_96K (*.pst1)") + QLatin1String(";;") + filter48k;
    QString selected;
    const QString path = m_prompt->saveFileNameAndFilter(this, tr("pst Files"), QDir::currentPath(), filters, &selected);
    if (path.isEmpty())
        return;
    Q_EMIT sigSave(selected == filter48k ? 0 : 1, path);
}

void QPreset::offlineImportClicked()
{
    const QString path = m_prompt->openFileName(this, tr("pst Files"), QDir::currentPath(), tr("pst Files (*.pst1)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompt->tell(this, Prompt::Icon::Critical, tr("ERROR"),
                       tr("Can not read the file:\n%1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    const QByteArray data = file.readAll();
    // The two layouts are told apart by their size alone.
    PresetImage::Variant variant;
    if (!PresetImage::variantOfSize(data.size(), &variant)) {
        m_prompt->tell(nullptr, Prompt::Icon::Critical, tr("ERROR"), offlineFormatError());
        return;
    }
    if (m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"),
                                     tr("Replace the settings of every page with those of %1?")
                                         .arg(QDir::toNativeSeparators(path)),
                                     {tr("Yes"), tr("No")}))
        Q_EMIT sigImport(variant, data);
}

QString QPreset::offlineFormatError()
{
    return tr("preset file format error!") + QLatin1Char('\n')
        + tr("An offline preset file has %1 bytes (48 kHz unit) or %2 bytes (96 kHz unit).")
              .arg(PresetImage::Size48k)
              .arg(PresetImage::Size96k);
}

// Replies.

void QPreset::onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (!isReport(op) || (length > 0 && !payload))
        return;
    switch (param) {
    case ListParam:
        if (length == ListReportSize)
            onSlotList(payload);
        break;
    case RecallParam:
        if (length == 1)
            onRecallProgress(payload[0]);
        break;
    default:
        m_transfer->onMessage(param, op, length, payload);
        break;
    }
}

void QPreset::onRecallProgress(quint8 progress)
{
    if (progress == 0) {
        m_recallShowing = true;
        if (m_progress)
            m_progress->start(100, QString());
    } else if (progress < 100) {
        if (m_progress)
            m_progress->step(progress);
    } else if (progress == 100) {
        finishRecallProgress();
    }
}

void QPreset::finishRecallProgress()
{
    m_recallShowing = false;
    if (m_progress)
        m_progress->finish();
}

void QPreset::transferEnded(PresetTransfer::Outcome outcome)
{
    const QString path = QDir::toNativeSeparators(m_transfer->path());
    switch (outcome) {
    case PresetTransfer::Outcome::Done:
    case PresetTransfer::Outcome::Cancelled:
        break;
    case PresetTransfer::Outcome::SizeMismatch:
        tellLater(nullptr, tr("ERROR"), tr("preset file format error!"));
        break;
    case PresetTransfer::Outcome::LinkLost:
        tellLater(this, tr("ERROR"), tr("The connection to the unit was lost: the transfer did not finish."));
        break;
    case PresetTransfer::Outcome::FileUnreadable:
        tellLater(this, tr("ERROR"), tr("Can not read the file:\n%1").arg(path));
        break;
    case PresetTransfer::Outcome::FileUnwritable:
        tellLater(this, tr("ERROR"), tr("Can not write the file:\n%1").arg(path));
        break;
    case PresetTransfer::Outcome::NoReply:
    case PresetTransfer::Outcome::UnitEndedEarly:
        tellLater(this, tr("ERROR"), tr("The unit stopped the transfer before the end."));
        break;
    case PresetTransfer::Outcome::TooLarge:
        tellLater(this, tr("ERROR"), tr("The preset image is too large to be transferred."));
        break;
    }
}

void QPreset::linkLost()
{
    // A transfer under way ends through its own outcome.
    if (m_recallShowing)
        finishRecallProgress();
}

void QPreset::tellLater(QWidget *parent, const QString &title, const QString &text)
{
    QTimer::singleShot(0, this, [this, parent, title, text] {
        m_prompt->tell(parent, Prompt::Icon::Critical, title, text);
    });
}
