#include "TabLayoutGuard.h"

#include <QEvent>
#include <QTabBar>
#include <QTabWidget>

TabLayoutGuard::TabLayoutGuard(QTabWidget *tabWidget)
    : QObject(tabWidget)
    , m_tabWidget(tabWidget)
{
    tabWidget->installEventFilter(this);
}

bool TabLayoutGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_tabWidget || event->type() != QEvent::LayoutRequest)
        return false;
    const Hints now = hints();
    if (now == m_laidOut)
        return true; // nothing to lay out anew
    m_laidOut = now;
    return false;
}

TabLayoutGuard::Hints TabLayoutGuard::hints() const
{
    return {m_tabWidget->size(), m_tabWidget->sizeHint(), m_tabWidget->minimumSizeHint(),
            m_tabWidget->tabBar()->sizeHint()};
}
