#include "platform/afx/stack.h"

#include <cerrno>
#include <exception>
#include <pthread.h>
#include <system_error>

namespace
{

struct Job {
    const std::function<void()>* fn;
    std::exception_ptr error;
};

void* runJob(void* arg)
{
    Job* job = static_cast<Job*>(arg);
    try {
        (*job->fn)();
    } catch (...) {
        job->error = std::current_exception();
    }
    return nullptr;
}

// The lowest usable address of the calling thread's stack (null: unknown).
char* stackLow()
{
    thread_local char* low = nullptr;
    thread_local bool known = false;
    if (!known) {
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            void* addr = nullptr;
            std::size_t size = 0;
            if (pthread_attr_getstack(&attr, &addr, &size) == 0)
                low = static_cast<char*>(addr);
            pthread_attr_destroy(&attr);
        }
        known = true;
    }
    return low;
}

} // namespace

void AfxRunWithLargeStack(const std::function<void()>& fn, std::size_t nStackBytes)
{
    pthread_attr_t attr;
    int rc = pthread_attr_init(&attr);
    if (rc == 0)
        rc = pthread_attr_setstacksize(&attr, nStackBytes);
    Job job{&fn, nullptr};
    pthread_t thread;
    if (rc == 0)
        rc = pthread_create(&thread, &attr, runJob, &job);
    pthread_attr_destroy(&attr);
    if (rc != 0)
        throw std::system_error(rc, std::generic_category(), "no thread for a large stack");
    pthread_join(thread, nullptr);
    if (job.error)
        std::rethrow_exception(job.error);
}

bool AfxStackIsLow(std::size_t nMarginBytes)
{
    const char* low = stackLow();
    if (!low)
        return false;
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    return here < low + nMarginBytes;
}
