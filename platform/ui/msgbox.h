#pragma once
// Message boxes with the original's button and icon flags and answer codes,
// answered through a replaceable service. The default service (there is no
// display) writes the message to stderr and answers with the default button;
// tests install a scripted answerer.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat::ui {

// Buttons (low four bits).
constexpr int32_t vbOKOnly = 0;
constexpr int32_t vbOKCancel = 1;
constexpr int32_t vbAbortRetryIgnore = 2;
constexpr int32_t vbYesNoCancel = 3;
constexpr int32_t vbYesNo = 4;
constexpr int32_t vbRetryCancel = 5;
// Icons.
constexpr int32_t vbCritical = 16;
constexpr int32_t vbQuestion = 32;
constexpr int32_t vbExclamation = 48;
constexpr int32_t vbInformation = 64;
// Default button.
constexpr int32_t vbDefaultButton1 = 0;
constexpr int32_t vbDefaultButton2 = 256;
constexpr int32_t vbDefaultButton3 = 512;
// Answers.
constexpr int32_t vbOK = 1;
constexpr int32_t vbCancel = 2;
constexpr int32_t vbAbort = 3;
constexpr int32_t vbRetry = 4;
constexpr int32_t vbIgnore = 5;
constexpr int32_t vbYes = 6;
constexpr int32_t vbNo = 7;

struct MessageBoxRequest {
    std::string prompt;
    int32_t buttons = vbOKOnly;  // the flags as given
    std::string title;           // the application title when the caller gave none

    int32_t ButtonSet() const { return buttons & 0x0F; }
    int32_t Icon() const { return buttons & 0xF0; }
    // The answers the buttons offer, in their order.
    std::vector<int32_t> Answers() const;
    // The answer of the default button (the first when the flag names none there).
    int32_t DefaultAnswer() const;
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Returns one of request.Answers().
    virtual int32_t Answer(const MessageBoxRequest& request) = 0;
};

// Installs the service for this process (nullptr: the default one) and
// returns the one it replaces (nullptr when that was the default).
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);

// Shows a message and returns the answer (vbOK ... vbNo). UiError when the
// service answers with a button the message does not offer.
int32_t MsgBox(std::string prompt, int32_t buttons = vbOKOnly, std::string title = {});

// The title of message boxes that have none of their own.
void SetApplicationTitle(std::string title);
const std::string& ApplicationTitle();

}  // namespace plat::ui
