#include "toolkit/gui/bcl_verinfo.h"

#include <QFile>

#include <string>

bool Bcl_verinfo::load()
{
    values_.clear();
    // The version resource compiled into the program: one "sub-block=value" a line.
    QFile file(QStringLiteral(":/version/version.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const std::string line = QString::fromUtf8(file.readLine()).trimmed().toStdString();
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            values_.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return !values_.empty();
}

std::optional<std::string> Bcl_verinfo::value(std::string_view sub_block) const
{
    const auto found = values_.find(sub_block);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}
