#include "EditorReport.h"

#include <sstream>
#include <stdexcept>

#include "StandInHost.h"

namespace tollik::host {
namespace {

std::wstring Escape(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t c : text) {
        if (c == L'\\') out += L"\\\\";
        else if (c == L'\t') out += L"\\t";
        else if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else out += c;
    }
    return out;
}

std::wstring Unescape(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const wchar_t next = text[++i];
        out += next == L't' ? L'\t' : next == L'r' ? L'\r' : next == L'n' ? L'\n' : next;
    }
    return out;
}

std::vector<std::wstring> Fields(const std::wstring& value) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = value.find(L'\t', start);
        fields.push_back(Unescape(value.substr(start, tab - start)));
        if (tab == std::wstring::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

void WriteReport(const std::wstring& path, const EditorReport& report) {
    std::wostringstream out;
    out << L"host-messages=" << report.hostMessages << L"\n"
        << L"painting-resumed=" << report.paintingResumed << L"\n"
        << L"selection-restored=" << report.selectionRestored << L"\n"
        << L"captured-units=" << report.capturedUnits << L"\n";
    for (const ShownBox& b : report.boxes) {
        out << L"box=" << b.ownedByHost << L"\t" << b.type << L"\t" << Escape(b.caption) << L"\t"
            << Escape(b.text) << L"\n";
    }
    for (const Launch& l : report.launches) {
        out << L"launch=" << l.ownerGiven << L"\t" << Escape(l.operation) << L"\t"
            << Escape(l.file) << L"\t" << Escape(l.parameters) << L"\t" << l.directoryGiven << L"\t"
            << Escape(l.directory) << L"\t" << l.show << L"\t" << Escape(l.exitCode) << L"\n";
    }
    if (!WriteBytes(path, ToUtf8(out.str())))
        throw std::runtime_error("cannot write the report " + ToUtf8(path));
}

EditorReport ReadReport(const std::wstring& path) {
    std::string bytes;
    if (!ReadBytes(path, bytes)) throw std::runtime_error("no report at " + ToUtf8(path));
    EditorReport report;
    std::wistringstream lines(FromUtf8(bytes));
    std::wstring line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) throw std::runtime_error("malformed report line");
        const std::wstring key = line.substr(0, equals);
        const std::vector<std::wstring> f = Fields(line.substr(equals + 1));
        if (key == L"host-messages") report.hostMessages = std::stoul(f[0]);
        else if (key == L"painting-resumed") report.paintingResumed = f[0] == L"1";
        else if (key == L"selection-restored") report.selectionRestored = f[0] == L"1";
        else if (key == L"captured-units") report.capturedUnits = std::stoul(f[0]);
        else if (key == L"box" && f.size() == 4) {
            report.boxes.push_back({nullptr, f[3], f[2], static_cast<UINT>(std::stoul(f[1])), f[0] == L"1"});
        } else if (key == L"launch" && f.size() == 8) {
            Launch l;
            l.ownerGiven = f[0] == L"1";
            l.operation = f[1];
            l.file = f[2];
            l.parameters = f[3];
            l.directoryGiven = f[4] == L"1";
            l.directory = f[5];
            l.show = std::stoi(f[6]);
            l.exitCode = f[7];
            report.launches.push_back(l);
        } else {
            throw std::runtime_error("malformed report line: " + ToUtf8(line));
        }
    }
    return report;
}

std::wstring FormatReport(const EditorReport& report) {
    std::wostringstream out;
    out << L"  the host received " << report.hostMessages << L" messages; painting resumed: "
        << (report.paintingResumed ? L"yes" : L"NO") << L"; caret, selection and scroll restored: "
        << (report.selectionRestored ? L"yes" : L"NO") << L"\n"
        << L"  captured " << report.capturedUnits << L" UTF-16 units\n";
    if (report.boxes.empty()) out << L"  no message box\n";
    for (const ShownBox& b : report.boxes) {
        out << L"  message box (" << (b.ownedByHost ? L"owned by the host" : L"NOT owned by the host")
            << L"): " << b.caption << L": " << Escape(b.text) << L"\n";
    }
    if (report.launches.empty()) out << L"  nothing started\n";
    for (const Launch& l : report.launches) {
        out << L"  started " << l.file << L"\n    parameters: " << l.parameters << L"\n    verb \""
            << l.operation << L"\", directory \"" << l.directory << L"\", show " << l.show
            << L"; exit code " << l.exitCode << L"\n";
    }
    return out.str();
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    ::CloseHandle(file);
    return true;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

std::wstring FromCodePage(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return {};
    const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

}  // namespace tollik::host
