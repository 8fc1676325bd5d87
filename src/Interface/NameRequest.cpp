#include "Interface/NameRequest.h"

#include "Addon/ActionEvent.h"
#include "Environment/Host.h"
#include "Interface/Alert.h"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/ErrorAlert.h"
#include "Interface/StaticText.h"

#include <memory>

namespace zelvane {
namespace {

constexpr Int16 promptItem = 3;
constexpr Int16 nameItem = 4;

class NameDialog : public Dialog {
public:
    NameDialog(NameRequest::Filter* filter, const String& title, const String& prompt, const String& name)
        : Dialog(NameRequest::dialogID, true, true, false), m_filter(filter), m_title(title),
          m_prompt(prompt), m_name(name) {}

    void handleInitialise() override {
        m_promptText = new StaticText(ControlLink(promptItem, this), StaticText::left);
        m_nameText = new EditText(ControlLink(nameItem, this));
        setTitle(m_title.empty() ? host.getLocalString(Alert::stringsID, 8) : m_title);
        m_promptText->setText(m_prompt.empty() ? host.getLocalString(Alert::stringsID, 9) : m_prompt);
        m_nameText->setText(m_name);
    }

    void handleAccept(ActionEvent& event) override {
        String entered = m_nameText != nullptr ? m_nameText->getText() : String();
        if (m_filter != nullptr) {
            String message = host.getLocalString(Alert::stringsID, 10);
            if (!m_filter->validate(entered, message)) {
                if (!message.empty()) {
                    ErrorAlert().show(message);
                }
                event.tellPublisher(std::make_shared<ItemMessage>(0));
                return;
            }
        }
        m_entered = entered;
    }

    void handleClose() override {
        // The controls go with the panel's reset.
        m_promptText = nullptr;
        m_nameText = nullptr;
    }

    const String& getEntered() const { return m_entered; }

private:
    NameRequest::Filter* m_filter;
    String m_title;
    String m_prompt;
    String m_name;
    String m_entered;
    StaticText* m_promptText = nullptr; // owned by the panel
    EditText* m_nameText = nullptr;     // owned by the panel
};

} // namespace

NameRequest::NameRequest(Filter* filter, const String& title, const String& prompt, const String& name)
    : m_filter(filter), m_title(title), m_prompt(prompt), m_name(name) {}

const String& NameRequest::getName() {
    if (!m_shown) {
        m_shown = true;
        NameDialog dialog(m_filter, m_title, m_prompt, m_name);
        if (dialog.show() == 1) {
            m_name = dialog.getEntered();
        } else {
            m_cancelled = true;
        }
    }
    return m_name;
}

} // namespace zelvane
