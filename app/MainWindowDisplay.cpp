// Decoded-data display: the read-outs, the heave display, the instruments and the charts' feed.
#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "DialogChart.h"
#include "DisplayNumber.h"
#include "ReadoutTexts.h"

#include <QImage>
#include <QLCDNumber>

namespace {

// The colour the widget's parents paint at its centre, each over the one beneath.
QColor colourBeneath(const QWidget *widget)
{
    QList<QWidget *> parents;
    for (QWidget *parent = widget->parentWidget(); parent; parent = parent->isWindow() ? nullptr : parent->parentWidget())
        parents.prepend(parent);
    QImage spot(1, 1, QImage::Format_ARGB32_Premultiplied);
    const QPoint centre = widget->rect().center();
    for (QWidget *parent : std::as_const(parents)) {
        const QRect pixel(widget->mapTo(parent, centre), QSize(1, 1));
        parent->render(&spot, QPoint(), pixel,
                       parent->isWindow() ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
    }
    return spot.pixelColor(0, 0);
}

// Once the read-outs are in view, each fills its own background in the colour
// shown beneath it: a new value then repaints the read-out alone, not the
// group box and the page behind it.
void fillReadoutBackgrounds(QLCDNumber *heave, const std::array<QLabel *, ReadoutTexts::LabelCount> &labels)
{
    if (heave->autoFillBackground() || !heave->isVisible())
        return;
    const auto fill = [](QWidget *readout) {
        QPalette palette = readout->palette();
        palette.setColor(QPalette::Window, colourBeneath(readout));
        readout->setPalette(palette);
        readout->setAutoFillBackground(true);
    };
    fill(heave);
    for (QLabel *label : labels)
        fill(label);
}

} // namespace

MainWindow::ReadoutLabels MainWindow::readoutLabels() const
{
    return {ui->labelRoll,     ui->labelPitch,     ui->labelYaw, ui->labelRollRate, ui->labelPitchRate,
            ui->labelYawRate,  ui->labelAx,        ui->labelAy,  ui->labelAz};
}

void MainWindow::showReadouts(const ReadoutTexts::Readouts &texts)
{
    const ReadoutLabels labels = readoutLabels();
    fillReadoutBackgrounds(ui->lcdNumberHeave, labels);
    ui->lcdNumberHeave->display(texts.heave);
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i]->setText(texts.labels[i]);
}

void MainWindow::dispalyOutputData(OutputDataType data, OutputProtocolType protocol)
{
    OutputDataDisplay(data, protocol);
    m_dialogChart->RealtimeHeaveDataPlot(data);
    m_dialogChart->RealtimeAccDataPlot(data);
    m_dialogChart->RealtimeAngDataPlot(data);
    m_dialogChart->RealtimeAngRateDataPlot(data);
}

// The worker may still have samples of a link the window has left on their
// way: only a sample of the link in use is shown.
void MainWindow::displayOutputDataOfLink(const OutputDataType &data, const OutputProtocolType &protocol,
                                         uint32_t link)
{
    if (linkInUse(link))
        dispalyOutputData(data, protocol);
}

void MainWindow::OutputDataDisplay(OutputDataType data, OutputProtocolType protocol)
{
    const std::optional<ReadoutTexts::Selection> selection = ReadoutTexts::readoutSelection(m_connectionMode, protocol);
    if (!selection) {
        clearDataDisplay();
        return;
    }
    std::array<uchar, 2> dataFlg = selection->bytes;
    updateDataDisplay(data, dataFlg.data());
}

void MainWindow::updateDataDisplay(OutputDataType data, uchar *dataFlg)
{
    ReadoutTexts::Selection selection;
    selection.bytes = {dataFlg[0], dataFlg[1]};
    selection.showAll = ethernetInUse();
    showReadouts(ReadoutTexts::readoutTexts(data, selection));
    showInstruments(data);
}

// The instruments follow the sample whatever the selection: a field the sample
// does not hold reads 0.
void MainWindow::showInstruments(const OutputDataType &data)
{
    m_compass.heading = readDisplayNumber(data.field[OutputDataType::Yaw]);
    m_attitudeMeter.roll = readDisplayFloat(data.field[OutputDataType::Roll]);
    m_attitudeMeter.pitch = readDisplayFloat(data.field[OutputDataType::Pitch]);
}

void MainWindow::clearDataDisplay()
{
    showReadouts(ReadoutTexts::clearedReadoutTexts());
}
