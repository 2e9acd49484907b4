#include "qipsetting.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVector>

#include "core/devices/broadcastmsg.h"
#include "ui/controls/keyboardaccess.h"

namespace {

const char ButtonStyle[] =
    "QPushButton {background-color: rgb(75, 74, 74);color: rgb(171, 171, 171);border-radius: 1px;"
    "min-width:60;min-height:20;}QPushButton:!enabled {background: rgb(60, 60, 60);color: rgb(100, 100, 100);}"
    "QPushButton:pressed {background: rgb(21, 148, 192);color: rgb(228, 236, 238);}";

QLabel *titleLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("titleLabel"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

QIpSetting::QIpSetting(QWidget *parent)
    : QDialog(parent)
    , m_addressLabel(titleLabel(this))
    , m_subnetLabel(titleLabel(this))
    , m_gatewayLabel(titleLabel(this))
    , m_addressEdit(new QLineEdit(this))
    , m_subnetEdit(new QLineEdit(this))
    , m_gatewayEdit(new QLineEdit(this))
    , m_problemLabel(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(40, 40, 41));
    setPalette(pal);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QDialog{background-color: rgb(40, 40, 41);}"));
    setFont(QFont(QStringLiteral("Arial")));

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_addressLabel, 0, 0);
    grid->addWidget(m_addressEdit, 0, 1);
    grid->addWidget(m_subnetLabel, 1, 0);
    grid->addWidget(m_subnetEdit, 1, 1);
    grid->addWidget(m_gatewayLabel, 2, 0);
    grid->addWidget(m_gatewayEdit, 2, 1);
    m_problemLabel->setObjectName(QStringLiteral("ipProblemLabel"));
    m_problemLabel->setStyleSheet(QStringLiteral("color: rgb(255, 96, 96);"));
    m_problemLabel->setWordWrap(true);
    m_problemLabel->hide();
    grid->addWidget(m_problemLabel, 3, 0, 1, 2);
    grid->addWidget(m_buttons, 4, 0, 1, 2, Qt::AlignCenter);
    for (QAbstractButton *button : m_buttons->buttons())
        button->setStyleSheet(QLatin1String(ButtonStyle));

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QIpSetting::Accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QIpSetting::Reject);
    retranslate();
}

QIpSetting::~QIpSetting() = default;

void QIpSetting::setFullMode(bool full)
{
    m_fullMode = full;
    m_subnetLabel->setVisible(full);
    m_subnetEdit->setVisible(full);
    m_gatewayLabel->setVisible(full);
    m_gatewayEdit->setVisible(full);
    adjustSize();
}

void QIpSetting::setLanguageFontFamily(const QString &family)
{
    m_fontFamily = family;
    if (!family.isEmpty())
        setFont(QFont(family, 9));
}

quint32 QIpSetting::parseAddress(const QString &text)
{
    const QString trimmed = text.trimmed();
    const QVector<QStringRef> parts = trimmed.splitRef(QLatin1Char('.'));
    if (parts.size() != 4)
        return 0;
    quint32 address = 0;
    for (const QStringRef &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return 0;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return 0;
        }
        const uint octet = part.toUInt();
        if (octet > 255)
            return 0;
        address = (address << 8) | octet;
    }
    return address;
}

void QIpSetting::setCurrent(quint32 address, quint32 mask, quint32 gateway)
{
    m_addressEdit->setText(address ? broadcastMsg::addressText(address) : QString());
    m_subnetEdit->setText(mask ? broadcastMsg::addressText(mask) : QString());
    m_gatewayEdit->setText(broadcastMsg::addressText(gateway));
    showProblem(Problem::None);
}

namespace {

bool isHostAddress(quint32 address)
{
    const quint32 first = address >> 24;
    // 0.x.x.x is "this network", 224 and up multicast, reserved or broadcast.
    return first != 0 && first < 224;
}

int prefixLength(quint32 mask)
{
    const quint32 inverted = ~mask;
    if ((inverted & (inverted + 1)) != 0)
        return -1; // holes in the mask
    int bits = 0;
    for (quint32 m = mask; m; m <<= 1)
        ++bits;
    return bits;
}

} // namespace

QIpSetting::Problem QIpSetting::check(const QString &addressText, const QString &maskText, const QString &gatewayText,
                                      bool full)
{
    const quint32 address = parseAddress(addressText);
    if (!isHostAddress(address))
        return Problem::Address;
    if (!full)
        return Problem::None;
    const quint32 mask = parseAddress(maskText);
    const int prefix = prefixLength(mask);
    if (prefix < 1 || prefix > 30)
        return Problem::Mask;
    const quint32 host = address & ~mask;
    if (host == 0 || host == ~mask)
        return Problem::Address;
    // An empty gateway field means none; anything typed has to be read.
    if (gatewayText.trimmed().isEmpty())
        return Problem::None;
    const quint32 gateway = parseAddress(gatewayText);
    if (gateway == 0 && gatewayText.trimmed() == QLatin1String("0.0.0.0"))
        return Problem::None;
    const quint32 gatewayHost = gateway & ~mask;
    if (!isHostAddress(gateway) || (gateway & mask) != (address & mask) || gateway == address || gatewayHost == 0
        || gatewayHost == ~mask)
        return Problem::Gateway;
    return Problem::None;
}

QString QIpSetting::problemText() const
{
    switch (m_problem) {
    case Problem::Address:
        return tr("Enter a valid IPv4 address for the device, such as 192.168.1.100.");
    case Problem::Mask:
        return tr("Enter a valid subnet mask, such as 255.255.255.0.");
    case Problem::Gateway:
        return tr("The gateway must be an address in the device's subnet, or 0.0.0.0 for none.");
    case Problem::None:
        break;
    }
    return QString();
}

void QIpSetting::showProblem(Problem problem)
{
    m_problem = problem;
    m_problemLabel->setText(problemText());
    m_problemLabel->setVisible(problem != Problem::None);
    QLineEdit *field = problem == Problem::Mask ? m_subnetEdit
        : problem == Problem::Gateway           ? m_gatewayEdit
                                                : m_addressEdit;
    if (problem != Problem::None) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

void QIpSetting::Accept()
{
    // Nothing leaves the dialog that would lose the unit or store a unit
    // nobody can reach; the typed text stays for correcting.
    const Problem problem = check(m_addressEdit->text(), m_subnetEdit->text(), m_gatewayEdit->text(), m_fullMode);
    if (problem != Problem::None) {
        showProblem(problem);
        return;
    }
    showProblem(Problem::None);
    m_ipAddress = parseAddress(m_addressEdit->text());
    m_subnetMask = parseAddress(m_subnetEdit->text());
    m_gateway = parseAddress(m_gatewayEdit->text());
    clearEdits();
    done(QDialog::Accepted);
}

void QIpSetting::Reject()
{
    m_ipAddress = 0;
    m_subnetMask = 0;
    m_gateway = 0;
    clearEdits();
    done(QDialog::Rejected);
}

void QIpSetting::reject()
{
    Reject();
}

void QIpSetting::clearEdits()
{
    showProblem(Problem::None);
    m_addressEdit->clear();
    m_subnetEdit->clear();
    m_gatewayEdit->clear();
}

bool QIpSetting::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // The dialog passes a language change on to its button box, which
    // puts the platform's own English texts back on the standard
    // buttons: ours go on after that.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    return handled;
}

void QIpSetting::retranslate()
{
    setWindowTitle(tr("ip Settings"));
    if (!m_fontFamily.isEmpty())
        setFont(QFont(m_fontFamily, 9));
    m_addressLabel->setText(tr("IP addr :"));
    m_subnetLabel->setText(tr("Subnet :"));
    m_gatewayLabel->setText(tr("Gateway :"));
    if (QPushButton *ok = m_buttons->button(QDialogButtonBox::Ok))
        ok->setText(tr("OK"));
    if (QPushButton *cancel = m_buttons->button(QDialogButtonBox::Cancel))
        cancel->setText(tr("Cancel"));
    m_addressLabel->setToolTip(tr("IP address"));
    m_subnetLabel->setToolTip(tr("Subnet mask"));
    KeyboardAccess::describe(m_addressEdit, tr("IP address"), tr("IP address"));
    KeyboardAccess::describe(m_subnetEdit, tr("Subnet mask"), tr("Subnet mask"));
    KeyboardAccess::describe(m_gatewayEdit, tr("Gateway"));
    m_problemLabel->setText(problemText());
}
