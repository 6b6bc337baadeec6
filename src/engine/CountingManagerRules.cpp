// The counting manager: loading and saving the rules file.
#include "CountingManager.h"

#include "AtomicFile.h"
#include "CounterRule.h"
#include "FileExtension.h"
#include "RegularFile.h"
#include "TextFold.h"

#include <cerrno>
#include <unordered_map>
#include <vector>
#include <wx/filename.h>
#include <wx/hashmap.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>
#include <wx/xml/xml.h>

namespace {
wxXmlNode* AddElement(wxXmlNode* parent, const wxString& name, const wxString& text) {
    // Every node goes in as the parent's first child, so the file lists them in reverse.
    wxXmlNode* element = new wxXmlNode(parent, wxXML_ELEMENT_NODE, name);
    new wxXmlNode(element, wxXML_TEXT_NODE, wxString(), text);
    return element;
}

// Every field the rules file keeps, in map order, so that two snapshots are equal exactly
// when the file would say the same.
std::vector<wxString> StoredFields(const CountingManager::RuleMap& rules,
                                   const CountingManager::ExtMap& exts) {
    std::vector<wxString> fields{wxString::Format("%zu %zu", rules.size(), exts.size())};
    fields.reserve(5 * rules.size() + 3 * exts.size() + 1);
    for (const auto& entry : rules) {
        const CounterRule& rule = *entry.second;
        fields.insert(fields.end(),
                      {rule.m_strType, rule.m_strDesc, rule.m_strSingleLineComment,
                       rule.m_strMultiLineCommentBegin, rule.m_strMultiLineCommentEnd});
    }
    for (const auto& entry : exts) {
        const FileExtension& ext = *entry.second;
        fields.insert(fields.end(), {ext.m_strExt, ext.m_strDesc, ext.m_strRuleType});
    }
    return fields;
}

// While it lives, what the toolkit logs goes on to the log before it with the rules file
// named: the XML parser says what is wrong and on which line, but not in which file.
class RulesFileLog : public wxLog {
public:
    explicit RulesFileLog(const wxString& path)
        : m_path(path), m_previous(wxLog::GetActiveTarget()) {
        wxLog::SetActiveTarget(this);
    }
    ~RulesFileLog() override { wxLog::SetActiveTarget(m_previous); }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) override {
        if (m_previous)
            m_previous->LogRecord(
                level, wxString::Format(_("In the rules file %s: %s"), m_path, msg), info);
    }

private:
    wxString m_path;
    wxLog* m_previous;
};
} // namespace

void CountingManager::LoadRules() {
    // Only a regular file is read: a FIFO or a device would hold up the start.
    const wxString path = wxFileName(RULES_FILE).GetAbsolutePath();
    const int fd = OpenRegularFile(RULES_FILE);
    const int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        wxFileInputStream file(fd); // closes it
        RulesFileLog named(path);
        // The parser tells what it finds wrong; a document refused as a whole is told below.
        if (!m_xmlDoc.Load(file, "UTF-8", 0) && !m_xmlDoc.IsRefused())
            return;
    }
    if (!m_xmlDoc.IsOk()) {
        if (error)
            wxLogSysError(error, _("The rules file could not be read: %s"), path);
        else
            wxLogError(_("The rules file could not be read: %s"), path);
        return;
    }
    m_pRootNode = m_xmlDoc.GetRoot();
    if (!m_pRootNode || m_pRootNode->GetName() != wxS("rules"))
        return;
    for (wxXmlNode* ruleNode = m_pRootNode->GetChildren(); ruleNode;
         ruleNode = ruleNode->GetNext()) {
        if (ruleNode->GetType() != wxXML_ELEMENT_NODE || ruleNode->GetName() != wxS("rule"))
            continue;
        wxString type, desc, single, begin, end;
        // The extensions of one rule element share these: a child that one of them lacks
        // keeps the text the previous one gave it.
        wxString extName, extDesc, extRuleType;
        for (wxXmlNode* child = ruleNode->GetChildren(); child; child = child->GetNext()) {
            if (child->GetType() != wxXML_ELEMENT_NODE)
                continue;
            const wxString& name = child->GetName();
            if (name == wxS("type"))
                type = child->GetNodeContent();
            else if (name == wxS("desc"))
                desc = child->GetNodeContent();
            else if (name == wxS("single-line-comment"))
                single = child->GetNodeContent();
            else if (name == wxS("multi-line-comment-begin"))
                begin = child->GetNodeContent();
            else if (name == wxS("multi-line-comment-end"))
                end = child->GetNodeContent();
            else if (name == wxS("extension")) {
                for (wxXmlNode* field = child->GetChildren(); field; field = field->GetNext()) {
                    if (field->GetType() != wxXML_ELEMENT_NODE)
                        continue;
                    if (field->GetName() == wxS("name"))
                        extName = field->GetNodeContent();
                    else if (field->GetName() == wxS("desc"))
                        extDesc = field->GetNodeContent();
                    else if (field->GetName() == wxS("ruletype"))
                        extRuleType = field->GetNodeContent();
                }
                extName.MakeLower();
                m_extMap[extName] =
                    std::make_unique<FileExtension>(extName, extRuleType, extDesc, false);
            }
        }
        auto rule = std::make_unique<CounterRule>(type, desc);
        rule->m_strSingleLineComment = single;
        rule->m_strMultiLineCommentBegin = begin;
        rule->m_strMultiLineCommentEnd = end;
        m_ruleMap[type] = std::move(rule);
    }
    m_loadedRules = StoredFields(m_ruleMap, m_extMap);
}

bool CountingManager::SaveRules() {
    // The window saves while closing and wants the result; the end does not save again.
    m_bRulesSaved = true;
    if (!m_pRootNode || m_pRootNode->GetName() != wxS("rules"))
        return true;
    // Unchanged rules are not written: a read-only file, or one in a read-only folder, would
    // otherwise fail at every exit.
    std::vector<wxString> fields = StoredFields(m_ruleMap, m_extMap);
    if (fields == m_loadedRules)
        return true;
    for (wxXmlNode* child = m_pRootNode->GetChildren(); child;) {
        wxXmlNode* next = child->GetNext();
        if (child->GetType() == wxXML_ELEMENT_NODE && child->GetName() == wxS("rule")) {
            m_pRootNode->RemoveChild(child);
            delete child;
        }
        child = next;
    }
    // The extensions of each rule type, found once: comparing every extension with every
    // rule would make a large file take minutes.
    std::unordered_map<wxString, std::vector<const FileExtension*>, wxStringHash, wxStringEqual>
        extsByType;
    for (const auto& entry : m_extMap)
        extsByType[Fold(entry.second->m_strRuleType)].push_back(entry.second.get());
    for (const auto& entry : m_ruleMap) {
        const CounterRule& rule = *entry.second;
        wxXmlNode* ruleNode = new wxXmlNode(m_pRootNode, wxXML_ELEMENT_NODE, wxS("rule"));
        AddElement(ruleNode, wxS("type"), rule.m_strType);
        AddElement(ruleNode, wxS("desc"), rule.m_strDesc);
        AddElement(ruleNode, wxS("single-line-comment"), rule.m_strSingleLineComment);
        AddElement(ruleNode, wxS("multi-line-comment-begin"), rule.m_strMultiLineCommentBegin);
        AddElement(ruleNode, wxS("multi-line-comment-end"), rule.m_strMultiLineCommentEnd);
        const auto exts = extsByType.find(Fold(rule.m_strType));
        if (exts == extsByType.end())
            continue;
        for (const FileExtension* ext : exts->second) {
            wxXmlNode* extNode = new wxXmlNode(ruleNode, wxXML_ELEMENT_NODE, wxS("extension"));
            AddElement(extNode, wxS("name"), ext->m_strExt);
            AddElement(extNode, wxS("desc"), ext->m_strDesc);
            AddElement(extNode, wxS("ruletype"), ext->m_strRuleType);
        }
    }
    wxMemoryOutputStream buffer;
    if (!m_xmlDoc.Save(buffer, 1))
        return false;
    const wxStreamBuffer* bytes = buffer.GetOutputStreamBuffer();
    if (!WriteFileAtomically(RULES_FILE, bytes->GetBufferStart(), buffer.GetLength()))
        return false;
    m_loadedRules = std::move(fields);
    return true;
}
