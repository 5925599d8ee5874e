// A message service for tests: installed while it lives, it records every
// message and question and answers from a script (else the default button).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/afx/message.h"

namespace brantel::test
{

class MessageRecorder : public CMessageService
{
public:
    struct Message {
        std::string text;
        UINT type;
        int answer;
    };

    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) override;

    // The next questions are answered with these, in order.
    void answer(int id) { m_answers.push_back(id); }
    const std::vector<Message>& messages() const { return m_messages; }
    std::vector<std::string> texts() const;
    void clear() { m_messages.clear(); }

private:
    CMessageService* m_previous;
    std::deque<int> m_answers;
    std::vector<Message> m_messages;
};

} // namespace brantel::test
