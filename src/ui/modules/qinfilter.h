#pragma once

#include "filterpage.h"

// Input filter page (module 4): high-pass, low-pass and sixteen parametric
// bands for each of the four inputs, with the response graph.
class QInFilter final : public FilterPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QInFilter)

public:
    explicit QInFilter(Link *link, QWidget *parent = nullptr);
    ~QInFilter() override;

Q_SIGNALS:
    // "Copy to" onto outputs: `select` is the output mask, `args` the 156
    // bytes of the source record. FuncWidget hands it to QOutFilter::channelCopy.
    void sigOutCopy(uchar select, char *args);

protected:
    void emitCopyToTwin(uchar select, char *args) override;
};
