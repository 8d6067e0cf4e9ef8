#pragma once
// The recording implementation of prompts.h used by tests: message boxes and
// pauses are noted instead of shown or slept.

#include <functional>
#include <string>
#include <vector>

struct RecordedMessage {
    std::string text;
    std::string caption;
};

std::vector<RecordedMessage>& recordedMessages();
std::vector<unsigned>& recordedPauses();
void clearRecordedPrompts();

// Called while a message box is "open" (before it is dismissed), for tests that
// act on the dialog meanwhile. Pass an empty function to remove it.
void setMessageHook(std::function<void(const RecordedMessage&)> hook);
// Called for each pause, in place of sleeping.
void setPauseHook(std::function<void(unsigned)> hook);
