#include "fw/testing/Process.h"

#include "fw/ModulePath.h"
#include "fw/testing/Windows.h"

namespace fw::testing {

namespace {
// A bare program name is the one beside the running program; a path stays.
std::string ProgramPath(const std::string& exe) {
    if (exe.find_first_of("\\/:") != std::string::npos) return exe;
    const std::string beside = fw::BesideModule(exe.c_str());
    return GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES ? beside : exe;
}

HANDLE KillOnCloseJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}
}  // namespace

bool Process::Start(const std::string& exe, const std::string& arguments, const std::string& directory) {
    Kill();
    const std::string path = ProgramPath(exe);
    std::string command = "\"" + path + "\"";
    if (!arguments.empty()) command += " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Suspended until it is in the job, so nothing it starts escapes.
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &si, &pi))
        return false;
    process_.Reset(pi.hProcess);
    fw::KernelHandle thread(pi.hThread);
    pid_ = pi.dwProcessId;
    job_.Reset(KillOnCloseJob());
    if (job_) AssignProcessToJobObject(job_.Get(), pi.hProcess);
    ResumeThread(pi.hThread);
    WaitForInputIdle(pi.hProcess, 10000);
    return true;
}

bool Process::Alive() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

DWORD Process::WaitExit(DWORD ms) {
    if (!process_) return 0;
    WaitForSingleObject(process_.Get(), ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

void Process::Kill() {
    if (Alive()) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 10000);
    }
    job_.Reset();   // ends what it started, too
    process_.Reset();
}

HWND Process::WaitWindow(const char* className, const char* caption, DWORD ms) const {
    return WaitTopLevelWindow(pid_, className, caption, ms);
}

DWORD RunToEnd(const std::string& exe, const std::string& arguments, DWORD ms) {
    Process p;
    if (!p.Start(exe, arguments)) return ~0u;
    const DWORD code = p.WaitExit(ms);
    return code == STILL_ACTIVE ? ~0u : code;
}

}  // namespace fw::testing
