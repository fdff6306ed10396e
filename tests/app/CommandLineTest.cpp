// The command line: one request at most, a known platform, and a clear error for anything else.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {
CommandLine parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("stashwell"));
    return CommandLine::parse(arguments);
}
} // namespace

TEST(CommandLine, ReadsOneRequestAndAPlatform)
{
    using Request = CommandLine::Request;
    EXPECT_EQ(parse({}).request, Request::Run);
    EXPECT_EQ(parse({QStringLiteral("--toggle")}).request, Request::Toggle);
    EXPECT_EQ(parse({QStringLiteral("--settings")}).request, Request::Settings);
    EXPECT_EQ(parse({QStringLiteral("--quit")}).request, Request::Quit);
    const CommandLine wayland =
        parse({QStringLiteral("--platform"), QStringLiteral("wayland"), QStringLiteral("--toggle")});
    EXPECT_TRUE(wayland.error.isEmpty());
    EXPECT_EQ(wayland.request, Request::Toggle);
    EXPECT_EQ(wayland.platform, QStringLiteral("wayland"));
    EXPECT_FALSE(parse({}).platform.has_value());
}

TEST(CommandLine, RefusesWhatItCannotDo)
{
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--toggle"), QStringLiteral("--quit")}, QStringList{QStringLiteral("--bogus")},
          QStringList{QStringLiteral("stray")}, QStringList{QStringLiteral("--platform"), QStringLiteral("mir")},
          QStringList{QStringLiteral("--platform")}}) {
        EXPECT_FALSE(parse(arguments).error.isEmpty()) << arguments.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_TRUE(CommandLine::usage().startsWith(QStringLiteral("Usage: stashwell")));
}
