#include "RasterWindow.h"

#include <QBackingStore>
#include <QPainter>
#include <QResizeEvent>

RasterWindow::RasterWindow(QWindow *parent)
    : QWindow(parent)
    , m_backingStore(std::make_unique<QBackingStore>(this))
{
    setGeometry(100, 100, 300, 300);
}

RasterWindow::~RasterWindow() = default;

void RasterWindow::renderLater()
{
    requestUpdate();
}

void RasterWindow::renderNow()
{
    if (!isExposed())
        return;

    const QRect rect(0, 0, width(), height());
    m_backingStore->beginPaint(rect);

    QPainter painter(m_backingStore->paintDevice());
    painter.fillRect(rect, Qt::white);
    render(&painter);
    painter.end();

    m_backingStore->endPaint();
    m_backingStore->flush(rect);
}

bool RasterWindow::event(QEvent *event)
{
    if (event->type() == QEvent::UpdateRequest) {
        renderNow();
        return true;
    }
    return QWindow::event(event);
}

void RasterWindow::exposeEvent(QExposeEvent *)
{
    if (isExposed())
        renderNow();
}

void RasterWindow::resizeEvent(QResizeEvent *event)
{
    m_backingStore->resize(event->size());
    if (isExposed())
        renderNow();
}

void RasterWindow::render(QPainter *painter)
{
    painter->drawText(QRectF(0, 0, width(), height()), Qt::AlignCenter, QStringLiteral("eCompass"));
}
