#include "DialogAutoDetect.h"

DialogAutoDetect::DialogAutoDetect(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
}

DialogAutoDetect::~DialogAutoDetect()
{
    destroy();
}

void DialogAutoDetect::SetupListWidgetItems(const QList<QString> &portNames,
                                            const QList<int> &baudRates, unsigned int seconds)
{
    startFill(tr(" The IMU is detected on the following Ports, Double click to connect. "
                 "Time elapsed : %1 Sec")
                  .arg(seconds));
    const qsizetype rows = qMin(portNames.size(), baudRates.size());
    for (qsizetype i = 0; i < rows; ++i) {
        listWidgetComPorts->addItem(QStringLiteral("Port: ") + portNames.at(i)
                                    + QStringLiteral(" , Baud Rate: ") + QString::number(baudRates.at(i)));
    }
}

void DialogAutoDetect::SetupListWidgetItems(const QList<QNetworkAddressEntry> &entries)
{
    startFill(QStringLiteral(" Multiple active network interfaces detected, please double click "
                             "to select Host Address."));
    for (const QNetworkAddressEntry &entry : entries) {
        listWidgetComPorts->addItem(QStringLiteral("Host Address Entry IP:") + entry.ip().toString()
                                    + QStringLiteral(" -> Broadcast IP:")
                                    + entry.broadcast().toString());
    }
}

void DialogAutoDetect::startFill(const QString &status)
{
    labelDetectStatus->setText(status);
    selectedRow = -1;
    listWidgetComPorts->clear();
}

void DialogAutoDetect::on_listWidgetComPorts_itemDoubleClicked(QListWidgetItem *)
{
    selectedRow = listWidgetComPorts->currentRow();
    hide();
}
