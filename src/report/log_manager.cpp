#include "report/log_manager.h"

#include "platform/guids.h"
#include "report/test_status.h"

namespace orbex {

CLogManager::CLogManager(port::IPlatform& platform, CVerdict& verdict)
    : m_platform(platform), m_verdict(verdict), m_regSettings(platform) {}

uint32_t CLogManager::LevelMask(int32_t logLevel) {
    switch (logLevel) {
        case 1: return 0x0307005A;
        case 2: return 0xFFFF0000;
        default: return 0xFFFFFFFF;
    }
}

void CLogManager::Open() {
    if (m_pLogWriter) return;
    m_platform.Com().CoInitialize();
    port::ComPtr unknown;
    if (m_platform.Com().CoCreateInstance(guids::kClsidLogWriter, guids::kIidUnknown, unknown) != kSOk || !unknown)
        return;
    std::shared_ptr<port::ILogWriter> writer;
    if (port::ComQuery(*unknown, guids::kIidLogWriter, writer) != kSOk) return;
    m_pLogWriter = writer;
    int32_t level = m_regSettings.ReadSettingInt("LOGMANAGER", "LOGLEVEL", 0, "orbex.ini");
    if (m_handle == kNoHandle) {
        m_pLogWriter->NewHandle(&m_handle);
        m_pLogWriter->Configure(m_handle, LevelMask(level), "orbex.txt", "ORBEX", 0, 10);
        Log(this, kLevelTrace, kGreen, "Orbex.exe Loaded.");
    }
}

void CLogManager::LogV(int32_t level, uint32_t colour, const char* format, va_list args) {
    if (IsOpen()) {
        va_list copy;
        va_copy(copy, args);
        m_pLogWriter->Write(m_handle, level, colour, format, copy);
        va_end(copy);
    }
    int32_t status = -1;
    if (level == kLevelNote && colour == kBlue)
        status = Pass;
    else if (level == kLevelNoRun && colour == kBlack)
        status = NA;
    else if (level == kLevelFailure && colour == kRed)
        status = Fail;
    if (status < 0) return;
    char text[256];
    FormatIntoV(text, sizeof text, format, args);
    char step[16];
    FormatInto(step, sizeof step, "msg%d", m_messageCounter++);
    m_verdict.ResultReport(m_pTestIdText, step, status, "Message Log:", "", text);
}

void Log(CLogManager* logger, int32_t level, uint32_t colour, const char* format, ...) {
    if (!logger) return;
    va_list args;
    va_start(args, format);
    logger->LogV(level, colour, format, args);
    va_end(args);
}

}  // namespace orbex
