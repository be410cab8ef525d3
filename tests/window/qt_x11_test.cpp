// The real Linux program on a real X display: what other X clients can do to its window.

#include <gtest/gtest.h>
// After GoogleTest: Xlib's macros (None, Bool) would break its headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

class RunningProgram {
public:
    RunningProgram()
    {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            execl(RAVELON_PROGRAM, RAVELON_PROGRAM, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~RunningProgram()
    {
        if (!exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    // The exit status, once the process has ended within `limit`.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit)
    {
        for (auto waited = 0ms; waited < limit; waited += 20ms) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return std::nullopt;
    }

private:
    pid_t pid_;
    bool exited_ = false;
};

class Display {
public:
    Display() : display_(XOpenDisplay(nullptr)) {}
    ~Display()
    {
        if (display_) XCloseDisplay(display_);
    }
    ::Display* get() const { return display_; }

    // The top-level window titled `title`, once it is mapped.
    Window WaitForWindow(const std::string& title, std::chrono::milliseconds limit)
    {
        for (auto waited = 0ms; waited < limit; waited += 50ms) {
            if (Window w = Find(DefaultRootWindow(display_), title)) return w;
            std::this_thread::sleep_for(50ms);
        }
        return 0;
    }

private:
    Window Find(Window parent, const std::string& title)
    {
        Window root = 0, up = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, parent, &root, &up, &children, &count)) return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(display_, children[i], &name) && name) {
                if (title == name && XGetWindowAttributes(display_, children[i], &attributes) &&
                    attributes.map_state == IsViewable)
                    found = children[i];
                XFree(name);
            }
            if (!found) found = Find(children[i], title);
        }
        if (children) XFree(children);
        return found;
    }

    ::Display* display_;
};

class X11Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display.get()) GTEST_SKIP() << "no X display";
        window = display.WaitForWindow("Ravelon ", 20s);
        ASSERT_NE(window, 0u) << "the window did not appear";
    }

    RunningProgram program;
    Display display;
    Window window = 0;
};

TEST_F(X11Window, DestroyedByAnotherClientEndsTheProgram)
{
    XDestroyWindow(display.get(), window);
    XFlush(display.get());
    EXPECT_EQ(program.WaitForExit(10s), 0);
}

}  // namespace
