#include "platform/ui/msgbox.h"

#include <algorithm>
#include <iostream>

#include "platform/ui/control.h"

namespace plat::ui {

namespace {

// Without a display the message goes to stderr and the default button answers.
class StderrMessageBox final : public MessageBoxService {
public:
    int32_t Answer(const MessageBoxRequest& request) override {
        std::cerr << (request.title.empty() ? std::string() : request.title + ": ") << request.prompt << '\n';
        return request.DefaultAnswer();
    }
};

std::shared_ptr<MessageBoxService>& Installed() {
    static std::shared_ptr<MessageBoxService> service;
    return service;
}

std::string& Title() {
    static std::string title;
    return title;
}

}  // namespace

std::vector<int32_t> MessageBoxRequest::Answers() const {
    switch (ButtonSet()) {
        case vbOKCancel: return {vbOK, vbCancel};
        case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
        case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
        case vbYesNo: return {vbYes, vbNo};
        case vbRetryCancel: return {vbRetry, vbCancel};
        default: return {vbOK};
    }
}

int32_t MessageBoxRequest::DefaultAnswer() const {
    const auto answers = Answers();
    const auto index = static_cast<size_t>((buttons >> 8) & 0x0F);
    return index < answers.size() ? answers[index] : answers.front();
}

std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service) {
    auto previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

int32_t MsgBox(std::string prompt, int32_t buttons, std::string title) {
    MessageBoxRequest request{std::move(prompt), buttons, title.empty() ? ApplicationTitle() : std::move(title)};
    std::shared_ptr<MessageBoxService> service = Installed();
    if (!service) service = std::make_shared<StderrMessageBox>();
    const int32_t answer = service->Answer(request);
    const auto answers = request.Answers();
    if (std::find(answers.begin(), answers.end(), answer) == answers.end())
        throw UiError("The message \"" + request.prompt + "\" was answered with " + std::to_string(answer) +
                      ", a button it does not offer");
    return answer;
}

void SetApplicationTitle(std::string title) { Title() = std::move(title); }

const std::string& ApplicationTitle() { return Title(); }

}  // namespace plat::ui
