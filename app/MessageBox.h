#ifndef MESSAGEBOX_H
#define MESSAGEBOX_H

#include <QDialog>

class QPixmap;

namespace Ui {
class MessageBox;
}

// A small about dialog with a logo button that opens the product page.
class MessageBox : public QDialog
{
    Q_OBJECT

public:
    explicit MessageBox(QWidget *parent = nullptr);
    ~MessageBox() override;

    void setIconPixmap(const QPixmap &pixmap);
    void setText(const QString &text);
    void setHtml(const QString &html);

public slots:
    void showInfo();
    void apply();
    void logoClicked();

private:
    Ui::MessageBox *ui;
};

#endif // MESSAGEBOX_H
