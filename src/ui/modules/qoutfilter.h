#pragma once

#include "filterpage.h"

// Output filter page (module 10): high-pass, low-pass and sixteen parametric
// bands for each of the eight outputs, with the response graph.
class QOutFilter final : public FilterPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QOutFilter)

public:
    explicit QOutFilter(Link *link, QWidget *parent = nullptr);
    ~QOutFilter() override;

Q_SIGNALS:
    // "Copy to" onto inputs: `select` is the input mask, `args` the 156 bytes
    // of the source record. FuncWidget hands it to QInFilter::channelCopy.
    void sigInCopy(uchar select, char *args);

protected:
    void emitCopyToTwin(uchar select, char *args) override;
};
