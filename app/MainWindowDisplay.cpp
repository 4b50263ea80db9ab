// Decoded-data display: the read-outs, the heave display, the instruments and the charts' feed.
#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "DialogChart.h"
#include "DisplayNumber.h"
#include "ReadoutTexts.h"
#include "Worker.h"

namespace {

void showReadouts(Ui::MainWindow *ui, const ReadoutTexts::Readouts &texts)
{
    ui->lcdNumberHeave->display(texts.heave);
    const std::array<QLabel *, ReadoutTexts::LabelCount> labels{
        ui->labelRoll, ui->labelPitch,     ui->labelYaw, ui->labelRollRate, ui->labelPitchRate,
        ui->labelYawRate, ui->labelAx, ui->labelAy, ui->labelAz};
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i]->setText(texts.labels[i]);
}

} // namespace

void MainWindow::dispalyOutputData(OutputDataType data, OutputProtocolType protocol)
{
    OutputDataDisplay(data, protocol);
    m_dialogChart->RealtimeHeaveDataPlot(data);
    m_dialogChart->RealtimeAccDataPlot(data);
    m_dialogChart->RealtimeAngDataPlot(data);
    m_dialogChart->RealtimeAngRateDataPlot(data);
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
    selection.showAll = (m_connectionMode & Worker::EthernetMode) != 0;
    showReadouts(ui, ReadoutTexts::readoutTexts(data, selection));

    m_compass.heading = readDisplayNumber(data.field[OutputDataType::Yaw]);
    m_attitudeMeter.roll = readDisplayFloat(data.field[OutputDataType::Roll]);
    m_attitudeMeter.pitch = readDisplayFloat(data.field[OutputDataType::Pitch]);
}

void MainWindow::clearDataDisplay()
{
    showReadouts(ui, ReadoutTexts::clearedReadoutTexts());
}
