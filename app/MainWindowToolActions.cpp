// The tool actions: the chart, compass and attitude windows, the choice of the
// log file, and starting and stopping data logging.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "DialogChart.h"
#include "SettingsDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {

const QPoint ChartOffset(10, 10);
const QPoint InstrumentOffset(50, 100);

} // namespace

void MainWindow::on_actionChartViewer_triggered()
{
    if (!m_dialogChart->isActive()) {
        m_dialogChart->move(pos() + ChartOffset);
        m_dialogChart->show();
        m_dialogChart->raise();
        m_dialogChart->setActiveStatus(true);
    } else {
        m_dialogChart->raise();
    }
}

void MainWindow::on_actionHeading_triggered()
{
    showInstrument(m_compass);
}

void MainWindow::on_actionAttitudeMeter_triggered()
{
    showInstrument(m_attitudeMeter);
}

void MainWindow::showInstrument(QWindow &window)
{
    if (!window.isVisible()) {
        window.setPosition(pos() + InstrumentOffset);
        window.show();
    }
    window.raise();
}

void MainWindow::on_actionSelectFile_triggered()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({tr("Text Files (*.txt)"), tr("Data Files (*.dat)"), tr("CSV Files (*.csv)")});
    dialog.selectFile(ActionRules::initialLogPath(m_settings->fileName, documents, QDir::homePath()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), tr("No file selected!"), QMessageBox::Ok);
        return;
    }
    m_settings->fileName = dialog.selectedFiles().constFirst();
    // The dialog has asked about replacing a file that exists: the recording
    // that follows asks no second time.
    m_overwriteConfirmedFile = QFileInfo::exists(m_settings->fileName) ? m_settings->fileName : QString();
    m_settingsDialog->saveSettings();
}

void MainWindow::on_actionDataLogging_triggered(bool checked)
{
    const QString fileName = m_settings->fileName;
    const bool confirmed = !fileName.isEmpty() && fileName == m_overwriteConfirmedFile;
    if (checked)
        m_overwriteConfirmedFile.clear();
    const bool cancelled =
        checked && !confirmed && ActionRules::holdsRecording(fileName) && !confirmOverwrite(fileName);
    const ActionRules::LoggingStep step = ActionRules::loggingStep(checked && !cancelled, fileName);
    setDataLoggingAction(step.start);
    if (!cancelled)
        errorLoggerWrite(step.eventLine);
    ++m_loggingRepliesPending;
    emit signalStartDataLogging(step.start, fileName);
}

void MainWindow::setDataLoggingAction(bool logging)
{
    ui->actionDataLogging->setChecked(logging);
    ui->actionDataLogging->setToolTip(ActionRules::loggingToolTip(logging));
}

// A start empties the file: an earlier recording in it goes only when the user says so.
bool MainWindow::confirmOverwrite(const QString &fileName)
{
    QMessageBox box(QMessageBox::Warning, tr("Data Logging"),
                    tr("The file %1 already holds a recording.\nOverwrite it?").arg(fileName),
                    QMessageBox::Cancel, this);
    QPushButton *overwrite = box.addButton(tr("Overwrite"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == overwrite;
}

void MainWindow::dataLogFailed(const QString &fileName, const QString &reason)
{
    m_dataLogFailure = tr("File: %1\nReason: %2").arg(fileName, reason);
}

// Logging is asked for, but the worker reports it off, in answer to the latest
// request or on its own: the action must not stay on, and the user must know.
void MainWindow::checkLoggingReply(bool on)
{
    if (m_loggingRepliesPending > 0)
        --m_loggingRepliesPending;
    if (on || m_loggingRepliesPending > 0 || !ui->actionDataLogging->isChecked())
        return;
    setDataLoggingAction(false);
    const QString failure = m_dataLogFailure.isEmpty() ? tr("File: %1").arg(m_settings->fileName) : m_dataLogFailure;
    m_dataLogFailure.clear();
    QMessageBox::warning(this, tr("Data Logging"), tr("Data logging is off.\n%1").arg(failure), QMessageBox::Ok);
}
