#ifndef SETTINGSDIALOG_H
#define SETTINGSDIALOG_H

#include "DeviceTypes.h"
#include "SerialPortFilter.h"

#include <QChart>
#include <QDialog>
#include <QFont>
#include <QList>
#include <QString>

namespace Ui {
class SettingsDialog;
}

// The modal "Settings" dialog: serial port and baud rate, the chosen port's
// details, the charts theme and the start of the serial auto-detection.
// It owns the program's live user settings record and is the only reader
// and writer of the persistent settings store.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    static const QString StoreOrganisation;
    static const QString StoreApplication;
    static const QString StoreGroup;

    explicit SettingsDialog(QWidget *parent = nullptr);
    ~SettingsDialog() override;

    // A copy of the live record.
    UserSettingsType settings() const;
    // The live record itself; the main window reads and writes its fields.
    UserSettingsType *currentSettings();

    // True after each updateSettings, false after Auto Detect.
    bool settingsChanged() const;
    void clearSettingsChanged();

    void loadSettings();
    void saveSettings();

    // Refill the baud-rate box and the fixed line-format labels.
    void fillPortsParameters();
    // Refill the port box from the host's serial ports.
    void fillPortsInfo();
    // Refill the port box from the given ports, keeping those the program offers.
    void fillPortsInfo(const QList<SerialPortEntry> &ports);

    // Copy the form into the record and save it.
    void updateSettings();

public slots:
    void apply();
    void showPortInfo(int index);
    void populateThemeBox();

signals:
    void signalSetAutoDetect(const QList<QString> &portNames, int combinations);
    void signalSetStatisticsTime(int minutes);
    void signalUpdateChartTheme(QChart::ChartTheme theme);

private slots:
    void on_pushButtonAutoDetect_clicked();
    void on_serialPortInfoListBox_currentIndexChanged(int index);
    void on_horizontalSliderStatisticsTime_valueChanged(int value);
    void on_themeComboBox_currentIndexChanged(int index);

private:
    void fitToFont();
    void showNoPortError(const QString &title);
    QChart::ChartTheme selectedTheme() const;

    UserSettingsType m_currentSettings;
    bool m_settingsChanged = false;
    Ui::SettingsDialog *m_ui;
    const QFont m_dialogFont;
};

#endif // SETTINGSDIALOG_H
