// The component checker: checks the installed software of the board (file
// versions, DirectShow runtime files, and the driver, device and filter
// registrations) against the component database in orbex.ini.
#pragma once

#include <cstdint>

#include "cases/comchk/component_record.h"
#include "cases/comchk/inf_index.h"
#include "platform/types.h"

namespace orbex {

namespace port {
class ICreateDevEnum;
}

class COrbGBuilder;
class CLogFile;
class CRegSettings;

constexpr int kMaxComponentRecords = 64;

// Compares an expected version text with a file's, both read as up to four
// dot-separated numbers: 1 when equal, 2 when only the file's last number is
// one greater, 0 otherwise (also when the counts of numbers differ).
int CompareVersions(const char* expected, const char* actual);

// What one test case hands to every record check.
struct CheckContext {
    const char* description = "";
    const char* expected = "";
    const char* passText = "";
    const char* noRunText = "";
    const char* failText = "";
    const ComponentRecord* record = nullptr;
    int32_t subSteps = 0;
    int32_t status = 4;
    port::ICreateDevEnum* devEnum = nullptr;  // test 4: the system device enumerator
    const InfIndex* infIndex = nullptr;       // test 1: the driver information index
};

// Parses a device-class or filter-category identifier written as eleven
// hexadecimal numbers separated by commas; fields the text lacks stay 0 and
// numbers beyond the eleventh are ignored. Returns the count of fields read.
int ParseComponentGuid(const char* text, Guid& out);

class CComChker {
public:
    explicit CComChker(COrbGBuilder* gBuilder) : m_pGBuilder(gBuilder) {}
    virtual ~CComChker() = default;
    CComChker(const CComChker&) = delete;
    CComChker& operator=(const CComChker&) = delete;

    int32_t Initialize(CLogFile* logFile, COrbGBuilder* gBuilder, CRegSettings* regSettings);
    int32_t ExecuteTest(const char* testId, int32_t testCode, int32_t parameter);

    int32_t CheckFileVersion(const ComponentRecord& record, CheckContext& context);
    int32_t CheckDShowFiles();
    int32_t CheckInfEntry(const ComponentRecord& record, CheckContext& context);
    int32_t CheckEnumerated(const ComponentRecord& record, CheckContext& context);
    int32_t CheckLoaded(const ComponentRecord& record, CheckContext& context);
    int32_t CheckDShowRegistration(const ComponentRecord& record, CheckContext& context);

    // What Initialize found, for the tests of the database reading.
    const char* DatabasePath() const { return m_databasePath; }
    int32_t RecordCount() const { return m_recordCount; }
    const ComponentRecord& Record(int index) const { return m_records[index]; }
    uint8_t OsCode() const { return m_os; }
    uint8_t DecoderCode() const { return m_decoder; }
    uint8_t StandardCode() const { return m_standard; }

private:
    using RecordCheck = int32_t (CComChker::*)(const ComponentRecord&, CheckContext&);
    void ComputeMachineCodes();
    bool ReadDatabase();
    void ResolveWildcards();
    void SelectRecords(RecordCheck check, CheckContext& context);
    int32_t Summarize(const char* testId, CheckContext& context);
    void ReportStep(CheckContext& context, int32_t status, const char* description, const char* expected,
                    const char* actual);
    // Reads a key of the record's own section; false (after failing the
    // sub-step with the "entry missing" texts) when it is not there.
    bool ReadDetail(CheckContext& context, const char* key, char* buffer, uint32_t size);
    // Tests 1 and 4 prepare what their checks share; a No run when that fails.
    int32_t RunInfTest(const char* testId, CheckContext& context);
    int32_t RunRegistrationTest(const char* testId, CheckContext& context);
    // Reads a key of the record's section without any report; false when it is not there.
    bool ReadOptionalDetail(const CheckContext& context, const char* key, char* buffer, uint32_t size);

    COrbGBuilder* m_pGBuilder = nullptr;
    CLogFile* m_pLogFile = nullptr;
    CRegSettings* m_pRegSettings = nullptr;
    char m_databasePath[300] = {};
    int32_t m_recordCount = 0;
    ComponentRecord m_records[kMaxComponentRecords];
    uint8_t m_os = 0;
    uint8_t m_decoder = 0;
    uint8_t m_standard = 0;
    const char* m_testId = "";
};

}  // namespace orbex
