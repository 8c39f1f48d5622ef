#pragma once
// The list of the last four opened pictures, newest first, kept in the profile under
// "Recent File List" as File1 … File4 and written back on every change.

#include <QStringList>

class QSettings;

namespace zantrel {

class RecentFileList {
  public:
    static constexpr int kSize = 4;

    // Reads the list from `profile`, which must outlive this object.
    explicit RecentFileList(QSettings& profile);

    // Puts `path` (made absolute) first, removing an older entry of the same file.
    void Add(const QString& path);
    // Drops the entry equal to `path`; does nothing when there is none.
    void Remove(const QString& path);
    const QStringList& Entries() const { return m_entries; }

  private:
    void Write();
    QSettings& m_profile;
    QStringList m_entries;
};

}  // namespace zantrel
