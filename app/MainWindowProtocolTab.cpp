// Output-protocol tab: the device's protocol reports, the header, the choice
// and field check boxes, and the protocol Apply.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "CommandTable.h"
#include "ProtocolChoice.h"
#include "ProtocolLabels.h"
#include "SettingsValues.h"
#include "Worker.h"

#include <QLineEdit>

namespace {
constexpr int HeaderMaxLength = 8;
constexpr uint8_t FirstSlot = 0;
const char CustomWord[] = "custom";
} // namespace

QList<MainWindow::FieldBox> MainWindow::fieldBoxes() const
{
    using namespace DataFieldFlags;
    return {
        {ui->checkBoxRoll, 0, Roll},       {ui->checkBoxPitch, 0, Pitch},
        {ui->checkBoxYaw, 0, Yaw},         {ui->checkBoxRrate, 0, RollRate},
        {ui->checkBoxPrate, 0, PitchRate}, {ui->checkBoxYrate, 0, YawRate},
        {ui->checkBoxHeave, 0, Heave},     {ui->checkBoxHvVel, 0, HeaveVelocity},
        {ui->checkBoxAx, 1, Ax},           {ui->checkBoxAy, 1, Ay},
        {ui->checkBoxAz, 1, Az},           {ui->checkBoxCounter, 1, Counter},
        {ui->checkBoxChecksum, 1, Checksum},
    };
}

void MainWindow::setAllFieldBoxesChecked(bool checked)
{
    for (const FieldBox &field : fieldBoxes())
        field.box->setChecked(checked);
}

void MainWindow::EnableAllPrtParameters(bool enable)
{
    for (const FieldBox &field : fieldBoxes())
        field.box->setEnabled(enable);
}

void MainWindow::on_pushButtonSelectAllPrtParameters_clicked()
{
    setAllFieldBoxesChecked(true);
}

void MainWindow::on_pushButtonClearAllPrtParameters_clicked()
{
    setAllFieldBoxesChecked(false);
}

void MainWindow::ProcessProtocolParameters(const OutputProtocolType &record, uint8_t slot)
{
    if (slot >= m_outputProtocol.size())
        return;
    m_outputProtocol[slot] = record;
    // On the serial link the read-outs wait for samples of the new protocol.
    if (serialInUse())
        clearDataDisplay();
    if (slot != FirstSlot)
        return;
    m_protocolFormat = record.format;
    ui->ComboBoxHeader->setEnabled(true);
    on_pushButtonClearAllPrtParameters_clicked();
    EnableAllPrtParameters(false);
    showProtocolView(record);
}

void MainWindow::showProtocolView(const OutputProtocolType &record)
{
    const ProtocolChoice::View view = ProtocolChoice::viewFor(record.format);
    ui->label_Protocol->setText(view.label);
    if (view.kind == ProtocolChoice::View::Predefined)
        ui->ComboBoxHeader->setEditable(false);
    if (view.kind != ProtocolChoice::View::Custom) {
        ui->ComboBoxHeader->setCurrentIndex(view.index);
        return;
    }
    EnableAllPrtParameters(true);
    for (const FieldBox &field : fieldBoxes())
        field.box->setChecked((field.byte == 0 ? view.byte0 : view.byte1) & field.bit);
}

void MainWindow::protocolHeaderSetText(const QString &type, const QString &header)
{
    if (type == ProtocolLabels::Header) {
        ui->ComboBoxHeader->setCurrentIndex(ProtocolChoice::CustomItem);
        ui->ComboBoxHeader->setEditable(true);
        ui->ComboBoxHeader->lineEdit()->setMaxLength(HeaderMaxLength);
        ui->ComboBoxHeader->clearEditText();
        ui->ComboBoxHeader->lineEdit()->setText(header);
    }
    ui->label_Protocol->setText(type);
}

void MainWindow::on_ComboBoxHeader_activated(int index)
{
    if (index != ProtocolChoice::CustomItem) {
        ui->ComboBoxHeader->setEditable(false);
        ui->label_Protocol->setText(ProtocolLabels::Protocol);
        return;
    }
    ui->ComboBoxHeader->setEditable(true);
    ui->ComboBoxHeader->clearEditText();
    ui->label_Protocol->setText(ProtocolLabels::Header);
    ui->ComboBoxHeader->lineEdit()->setMaxLength(HeaderMaxLength);
    EnableAllPrtParameters(true);
}

// A header never holds the word "custom", in any letter case.
void MainWindow::on_ComboBoxHeader_editTextChanged(const QString &text)
{
    if (text.contains(QLatin1String(CustomWord), Qt::CaseInsensitive))
        ui->ComboBoxHeader->clearEditText();
}

QString MainWindow::protocolHeader() const
{
    return ui->ComboBoxHeader->currentIndex() == ProtocolChoice::CustomItem ? ui->ComboBoxHeader->currentText()
                                                                            : QString();
}

void MainWindow::on_pushButtonApplyProtocol_clicked()
{
    uint8_t fields[2] = {0, 0};
    for (const FieldBox &field : fieldBoxes())
        fields[field.byte] |= field.box->isChecked() ? field.bit : 0;
    const ProtocolChoice::Request request =
        ProtocolChoice::requestFor(ui->ComboBoxHeader->currentIndex(), fields[0], fields[1]);
    if (request.predefined)
        EnableAllPrtParameters(false);
    m_protocolFormat = request.format;
    const QString header = protocolHeader();
    emit signalSetProtocolFormat(m_protocolFormat, header, FirstSlot);
    enableAllButtons(false);
    ApplyEthernetSettings(CommandTable::OutputProtocolTab);
    if (serialInUse())
        emit signalSendIMUsettingsFlag(int(request.mask), CommandTable::OutputProtocolTab,
                                       SettingsValues::protocolValuesText(header, m_protocolFormat));
    m_markers.m_rescanNeeded = false;
}
