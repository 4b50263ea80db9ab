#include "MessageBox.h"
#include "ui_messagebox.h"

#include "SharedTables.h"

#include "AppLogging.h"

#include <QDebug>
#include <QDesktopServices>
#include <QIcon>
#include <QPixmap>
#include <QUrl>

namespace {
const QString LogoPicture = QStringLiteral(":/images/varnelo.png");
const QUrl ProductPage(QStringLiteral("https://varnelo.example/products/lintera"));
constexpr int LogoButtonSize = 100;
constexpr int LogoIconSize = 80;

const char ApplyButtonStyle[] =
    "QPushButton{background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,stop: 0 white, stop: 1 grey);"
    "border-style: solid;border-color: black;border-width: 1px;border-radius: 10px;}";

const char AboutText[] =
    "<br><b>Lintera</b> is a terminal program for serial ports, made for talking to, testing and "
    "configuring measurement devices.</br>"
    "<br>Lintera can be downloaded and used free of charge.</br>"
    "<br>Get the latest version from the <a href=\"https://varnelo.example/download\">Varnelo download "
    "centre</a>.</br>"
    "<br>Copyright Varnelo. All rights reserved.</br>";
} // namespace

MessageBox::MessageBox(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::MessageBox)
{
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$MessageBox#";
    ui->setupUi(this);

    QFont dialogFont(QStringLiteral("Open Sans"), 12);
    dialogFont.setWeight(QFont::Medium);
    setFont(dialogFont);

    ui->applyButton->setStyleSheet(QString::fromLatin1(ApplyButtonStyle));
    connect(ui->applyButton, &QPushButton::clicked, this, &MessageBox::apply);
    connect(ui->pushButtonLogo, &QPushButton::clicked, this, &MessageBox::logoClicked);

    setIconPixmap(QPixmap(LogoPicture));
    setWindowTitle(QStringLiteral("About Lintera"));
    setText(tr("<center>Version %1</center>").arg(versionString));
    setHtml(QString::fromLatin1(AboutText));
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$MessageBox ready#";
}

MessageBox::~MessageBox()
{
    delete ui;
}

void MessageBox::setIconPixmap(const QPixmap &pixmap)
{
    ui->pushButtonLogo->setMaximumSize(LogoButtonSize, LogoButtonSize);
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal, QIcon::Off);
    ui->pushButtonLogo->setIcon(icon);
    ui->pushButtonLogo->setIconSize(QSize(LogoIconSize, LogoIconSize));
    ui->pushButtonLogo->setAutoDefault(false);
    ui->pushButtonLogo->setFlat(true);
}

void MessageBox::setText(const QString &text)
{
    ui->label->setText(text);
}

void MessageBox::setHtml(const QString &html)
{
    ui->textBrowser->setHtml(html);
    ui->textBrowser->setStyleSheet(QStringLiteral("background-color: transparent;"));
}

void MessageBox::showInfo()
{
    qCDebug(lcApp) << "msg";
}

void MessageBox::apply()
{
    hide();
}

void MessageBox::logoClicked()
{
    QDesktopServices::openUrl(ProductPage);
}
