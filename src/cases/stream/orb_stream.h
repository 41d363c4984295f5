// The stream test object: sets the capture pin's format while the graph is
// built, and answers the stream test cases of graph 2 (device 10).
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace orbex {

class COrbGBuilder;

class COrbStream {
public:
    explicit COrbStream(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~COrbStream() = default;
    COrbStream(const COrbStream&) = delete;
    COrbStream& operator=(const COrbStream&) = delete;

    // Finds the capture pin's stream configuration, keeps it in the graph
    // builder and sets the format the graph file asks for. 0 when done (or
    // done before), 1 when the bench cannot have a stream.
    int32_t Initialize();
    int32_t ExecuteTest();
    // One step of a stream run: the first call starts it, every later call
    // advances it by one 5-second step; 2 while it goes on, then its outcome.
    int32_t StreamTest();
    // Starts (nonzero) or ends (0) the system's screen saver; 1 when starting
    // found no screen saver, else 0.
    int32_t ScreenSaver(int32_t start);
    // Suspends the system (nonzero) or wakes the display (0); returns 0.
    int32_t LowPower(int32_t start);

    const Guid& CaptureFormat() const { return m_captureFormat; }
    int32_t OutputWidth() const { return m_outputWidth; }
    int32_t OutputHeight() const { return m_outputHeight; }

private:
    void NudgeCursor();

    COrbGBuilder* m_pGBuilder = nullptr;
    Guid m_captureFormat{};
    int32_t m_outputWidth = 0;
    int32_t m_outputHeight = 0;
    bool m_initialised = false;
    // The run in progress. The stream object lives as long as the process's
    // graph builder, so the run outlives the call that started it.
    int32_t m_running = 0;
    int32_t m_countdown = 0;
};

}  // namespace orbex
