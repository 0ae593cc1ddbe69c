#pragma once
// Label and frame. A label's Caption shows "&&" as "&" and a single "&"
// as the access key; Click fires on a left click. A frame is a container
// whose children are placed in twips.

#include "platform/forms/Control.h"

namespace forms {

class Label final : public Control {
public:
    using Control::Control;

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    int16_t Alignment() const { return m_alignment; }   // 0 left, 1 right, 2 centre
    void setAlignment(int16_t alignment);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    void click() { Click.fire(); }

    Event<> Click;

protected:
    QString accessCaption() override { return m_caption; }
    void pressAccessKey(QChar key, bool unique) override;
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QString m_caption;
    int16_t m_alignment = 0;
    bool m_autoSize = false;
    bool m_wordWrap = false;
};

class Frame final : public Control, public Container {
public:
    Frame(Container* parent, QString name) : Control(parent, std::move(name)) {}

    QString Caption();
    void setCaption(const QString& caption);

    Form& form() override { return Control::form(); }
    QWidget* hostWidget() override { return widget(); }

protected:
    QString accessCaption() override { return Caption(); }
    void pressAccessKey(QChar key, bool unique) override;
    QWidget* createWidget(QWidget* parent) override;
};

}  // namespace forms
