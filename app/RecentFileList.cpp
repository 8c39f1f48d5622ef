#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace zantrel {

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString EntryKey(int index) {
    return kSection + QStringLiteral("/File%1").arg(index + 1);
}

}  // namespace

RecentFileList::RecentFileList(QSettings& profile) : m_profile(profile) {
    for (int i = 0; i < kSize; ++i) {
        const QString path = m_profile.value(EntryKey(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path))
            m_entries.append(path);
    }
}

void RecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_entries.removeAll(absolute);
    m_entries.prepend(absolute);
    while (m_entries.size() > kSize)
        m_entries.removeLast();
    Write();
}

void RecentFileList::Remove(const QString& path) {
    if (m_entries.removeAll(path) > 0)
        Write();
}

void RecentFileList::Write() {
    for (int i = 0; i < kSize; ++i) {
        if (i < m_entries.size())
            m_profile.setValue(EntryKey(i), m_entries[i]);
        else
            m_profile.remove(EntryKey(i));
    }
    m_profile.sync();
}

}  // namespace zantrel
