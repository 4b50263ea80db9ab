#ifndef RASTERWINDOW_H
#define RASTERWINDOW_H

#include <QWindow>

#include <memory>

class QBackingStore;
class QPainter;

// A top-level window painted in software through its own backing store.
// Every paint clears the whole window to white and hands a painter to render().
class RasterWindow : public QWindow
{
    Q_OBJECT

public:
    explicit RasterWindow(QWindow *parent = nullptr);
    ~RasterWindow() override;

public slots:
    // Asks for a repaint at the window system's next frame.
    void renderLater();
    // Repaints at once; does nothing while the window is not exposed.
    void renderNow();

protected:
    bool event(QEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // Paints the content on the already white window.
    virtual void render(QPainter *painter);

private:
    std::unique_ptr<QBackingStore> m_backingStore;
};

#endif // RASTERWINDOW_H
