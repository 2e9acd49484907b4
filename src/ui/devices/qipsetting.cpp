#include "qipsetting.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVector>

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
    grid->addWidget(m_buttons, 3, 0, 1, 2, Qt::AlignCenter);
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

void QIpSetting::Accept()
{
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
}
