#pragma once

// A photo picker the tests answer by hand: it records what was asked and keeps the callback.

#include <memory>
#include <optional>

#include "platform/photo_picker.h"

namespace vimora::test {

class FakePicker : public PhotoPicker
{
public:
    struct State
    {
        int presented = 0;
        int dismissed = 0;
        std::optional<Source> source;
        Done pending;
        /// Run after every answer: the test's host waits there for the intake it started.
        std::function<void()> afterAnswer;

        /// Answers the latest request with a photo (or a file that could not be read).
        void pick(const Picture &photo, const QString &error = {})
        {
            Done done = std::exchange(pending, nullptr);
            if (!done)
                return;
            Result result;
            result.photo = photo;
            result.path = QStringLiteral("/photos/picked.jpg");
            result.error = error;
            done(result);
        }
        /// Answers the latest request with a whole result (a damaged photo).
        void answer(const Result &result)
        {
            Done done = std::exchange(pending, nullptr);
            if (done)
                done(result);
        }
        void cancel()
        {
            Done done = std::exchange(pending, nullptr);
            if (done)
                done(std::nullopt);
        }
    };

    explicit FakePicker(std::shared_ptr<State> state)
        : m_state(std::move(state))
    {
    }
    void present(Source source, Done done) override
    {
        ++m_state->presented;
        m_state->source = source;
        // However the test answers (pick, answer, or calling pending itself), the intake's
        // work off the UI thread has landed when the answer returns.
        m_state->pending = [state = std::weak_ptr<State>(m_state), done = std::move(done)](std::optional<Result> result) {
            done(std::move(result));
            if (const auto s = state.lock(); s && s->afterAnswer)
                s->afterAnswer();
        };
    }
    void dismiss() override { ++m_state->dismissed; }

    /// Makes a fake the current picker and returns its state.
    static std::shared_ptr<State> install()
    {
        auto state = std::make_shared<State>();
        PhotoPicker::setCurrent(std::make_unique<FakePicker>(state));
        return state;
    }

private:
    std::shared_ptr<State> m_state;
};

} // namespace vimora::test
