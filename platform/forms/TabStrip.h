#pragma once
// Tabbed dialog control: a row of tabs over an area in which each tab has
// its own page of controls (page(i) is their container; children are
// placed in twips relative to the control). Setting Tab fires
// Click(PreviousTab), as choosing a tab does.

#include "platform/forms/Control.h"

#include <deque>

class QTabBar;

namespace forms {

class TabStrip;

class TabPage final : public Container {
public:
    TabPage(TabStrip* strip, int16_t index) : m_strip(strip), m_index(index) {}
    Form& form() override;
    QWidget* hostWidget() override;

private:
    TabStrip* m_strip;
    int16_t m_index;
};

class TabStrip final : public Control {
public:
    using Control::Control;

    // The container of tab i's controls (made on first use).
    Container* page(int16_t index);
    int16_t Tab();
    void setTab(int16_t index);
    int16_t Tabs();
    void setTabs(int16_t count);
    QString TabCaption(int16_t index);
    void setTabCaption(int16_t index, const QString& caption);
    bool TabEnabled(int16_t index);
    void setTabEnabled(int16_t index, bool on);

    Event<int16_t> Click;   // PreviousTab

    QWidget* pageWidget(int16_t index);

protected:
    bool hasAccessKey(QChar key) override;
    void pressAccessKey(QChar key, bool unique) override;
    QWidget* createWidget(QWidget* parent) override;
    // The tab bar: the focus, keys and mouse of the strip itself, not of
    // the controls on its pages.
    QWidget* inputWidget() override;
    void resetState() override { m_previous = 0; }

private:
    QTabBar* bar();
    int16_t accessTab(QChar key);   // the enabled tab with the key, or -1
    void showPage(int16_t index);
    std::deque<TabPage> m_pages;
    int16_t m_previous = 0;
    bool m_internal = false;
};

}  // namespace forms
