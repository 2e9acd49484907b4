#include "resources.h"

#include <QApplication>
#include <QFile>

static void initOrvalixResources()
{
    Q_INIT_RESOURCE(orvalix);
}

namespace Resources {

void init()
{
    static bool done = false;
    if (!done) {
        initOrvalixResources();
        done = true;
    }
}

void applyStyleSheet(QApplication *app)
{
    init();
    QFile file(QStringLiteral(":/qss/default"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray text = file.readAll();
    const int nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    app->setStyleSheet(QString::fromUtf8(text));
}

} // namespace Resources
