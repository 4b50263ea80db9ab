#ifndef DIALOGAUTODETECT_H
#define DIALOGAUTODETECT_H

#include "ui_DialogAutoDetect.h"

#include <QDialog>
#include <QList>
#include <QNetworkAddressEntry>
#include <QString>

// Small modal pick-one list: the serial ports on which the device was found,
// or the host's network address entries. Ends by a double-click or by closing.
class DialogAutoDetect : public QDialog, public Ui::DialogAutoDetectSerialPort
{
    Q_OBJECT

public:
    explicit DialogAutoDetect(QWidget *parent = nullptr);
    ~DialogAutoDetect() override;

    // Fills the list with detected ports and their rates; seconds is the detection time.
    void SetupListWidgetItems(const QList<QString> &portNames, const QList<int> &baudRates,
                              unsigned int seconds);
    // Fills the list with the host's address entries.
    void SetupListWidgetItems(const QList<QNetworkAddressEntry> &entries);

    // The row the user double-clicked; -1 after each fill until then.
    int selectedRow = 0;

private slots:
    void on_listWidgetComPorts_itemDoubleClicked(QListWidgetItem *item);

private:
    void startFill(const QString &status);
};

#endif // DIALOGAUTODETECT_H
