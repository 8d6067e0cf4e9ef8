#include "prompts.h"
#include "prompts_recorder.h"

namespace {
std::vector<RecordedMessage> messages;
std::vector<unsigned> pauses;
std::function<void(const RecordedMessage&)> messageHook;
std::function<void(unsigned)> pauseHook;
}

std::vector<RecordedMessage>& recordedMessages() { return messages; }
std::vector<unsigned>& recordedPauses() { return pauses; }

void clearRecordedPrompts()
{
    messages.clear();
    pauses.clear();
}

void setMessageHook(std::function<void(const RecordedMessage&)> hook) { messageHook = std::move(hook); }
void setPauseHook(std::function<void(unsigned)> hook) { pauseHook = std::move(hook); }

void showMessage(const char* text, const char* caption)
{
    messages.push_back({text, caption});
    if (messageHook) {
        RecordedMessage shown = messages.back(); // the hook may show further messages
        messageHook(shown);
    }
}

void pauseMilliseconds(unsigned milliseconds)
{
    pauses.push_back(milliseconds);
    if (pauseHook)
        pauseHook(milliseconds);
}
