#include "tests/support/message_recorder.h"

namespace brantel::test
{

MessageRecorder::MessageRecorder() : m_previous(AfxSetMessageService(this)) {}

MessageRecorder::~MessageRecorder()
{
    AfxSetMessageService(m_previous);
}

int MessageRecorder::MessageBox(LPCTSTR lpszText, LPCTSTR, UINT nType)
{
    int id = AfxDefaultAnswer(nType);
    if (!m_answers.empty()) {
        id = m_answers.front();
        m_answers.pop_front();
    }
    m_messages.push_back({lpszText ? lpszText : "", nType, id});
    return id;
}

std::vector<std::string> MessageRecorder::texts() const
{
    std::vector<std::string> out;
    for (const Message& m : m_messages)
        out.push_back(m.text);
    return out;
}

} // namespace brantel::test
