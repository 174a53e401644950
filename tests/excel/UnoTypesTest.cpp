// The office client's list of UNO types against the names in its sources: a
// type named in the client but missing from the list is met first by two
// threads at once, and their race in the generated getter comes back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <com/sun/star/uno/TypeClass.hpp>
#include <typelib/typedescription.hxx>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "excel/calc/CalcSession.h"
#include "excel/calc/UnoSupport.h"

namespace tarvo::calc {
namespace {

using Names = std::set<std::string>;

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// "css::frame::XModel" and, in a file that says `namespace frame = css::frame;`,
// "frame::XModel", as "com.sun.star.frame.XModel"; a constant, an enum value or
// a service's constructor behind the name stays off ("css::awt::PosSize::X"
// gives "com.sun.star.awt.PosSize"). Empty for anything else.
class UnoNames {
  public:
    explicit UnoNames(const std::string& text) {
        static const std::regex alias(R"(namespace\s+(\w+)\s*=\s*css((?:::\w+)+)\s*;)");
        for (std::sregex_iterator it(text.begin(), text.end(), alias), end; it != end; ++it) {
            modules_[(*it)[1]] = (*it)[2].str();
        }
        modules_["css"] = "";
        modules_["com::sun::star"] = "";
    }

    std::string unoName(const std::string& qualified) const {
        for (const auto& [prefix, module] : modules_) {
            if (qualified.rfind(prefix + "::", 0) == 0) {
                return fromModule(module, qualified.substr(prefix.size()));
            }
        }
        return {};
    }

    // Qualified names as they stand in the text, each at a word start.
    std::vector<std::string> qualifiedNames(const std::string& text) const {
        std::string prefixes = "com::sun::star";
        for (const auto& [prefix, module] : modules_) {
            prefixes += "|" + prefix;
        }
        const std::regex name("(?:^|[^:\\w])((?:" + prefixes + ")(?:::\\w+)+)");
        std::vector<std::string> names;
        for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it) {
            names.push_back((*it)[1]);
        }
        return names;
    }

  private:
    // module "::frame", rest "::XModel::method"
    static std::string fromModule(const std::string& module, const std::string& rest) {
        std::string uno = "com.sun.star";
        std::istringstream parts(module + rest);
        std::string part;
        while (std::getline(parts, part, ':')) {
            if (part.empty()) {
                continue;
            }
            uno += "." + part;
            if (std::isupper(static_cast<unsigned char>(part[0]))) {
                return uno;
            }
        }
        return {};
    }

    std::map<std::string, std::string> modules_;
};

bool isType(const std::string& name) {
    typelib_TypeDescription* description = nullptr;
    const rtl::OUString unoName = rtl::OUString::createFromAscii(name.c_str());
    typelib_typedescription_getByName(&description, unoName.pData);
    if (description == nullptr) {
        return false;
    }
    const auto typeClass = description->eTypeClass;
    typelib_typedescription_release(description);
    return typeClass == typelib_TypeClass_INTERFACE || typeClass == typelib_TypeClass_STRUCT ||
           typeClass == typelib_TypeClass_ENUM || typeClass == typelib_TypeClass_EXCEPTION ||
           typeClass == typelib_TypeClass_SEQUENCE;
}

// An enum value ("CellContentType_VALUE") stands for its enum.
std::string typeBehind(const std::string& name) {
    if (isType(name)) {
        return name;
    }
    const auto underscore = name.find('_', name.rfind('.'));
    if (underscore != std::string::npos && isType(name.substr(0, underscore))) {
        return name.substr(0, underscore);
    }
    return {};
}

// The element of a sequence as its UNO name: a UNO type, or one of the
// simple types by its C++ name.
std::string elementName(const UnoNames& names, std::string element) {
    static const std::map<std::string, std::string> simple{
        {"sal_Int8", "byte"},   {"sal_Int16", "short"},   {"sal_Int32", "long"},
        {"sal_Int64", "hyper"}, {"double", "double"},     {"float", "float"},
        {"bool", "boolean"},    {"sal_Bool", "boolean"},  {"rtl::OUString", "string"},
        {"OUString", "string"}, {"css::uno::Any", "any"}, {"css::uno::Type", "type"},
    };
    if (const auto found = simple.find(element); found != simple.end()) {
        return found->second;
    }
    return typeBehind(names.unoName(element));
}

// Every UNO type a source names, sequences of them included.
Names typesNamedIn(const std::string& text) {
    const UnoNames names(text);
    Names types;
    for (const std::string& qualified : names.qualifiedNames(text)) {
        if (std::string type = typeBehind(names.unoName(qualified)); !type.empty()) {
            types.insert(type);
        }
    }
    static const std::regex sequence(R"(Sequence\s*<\s*([\w:]+)\s*>)");
    for (std::sregex_iterator it(text.begin(), text.end(), sequence), end; it != end; ++it) {
        if (std::string element = elementName(names, (*it)[1]); !element.empty()) {
            types.insert("[]" + element);
        }
    }
    return types;
}

Names typesNamedInTheClient() {
    Names types;
    for (const auto& entry : std::filesystem::directory_iterator(TARVO_CALC_SOURCES)) {
        const auto extension = entry.path().extension();
        if (extension == ".cpp" || extension == ".h") {
            types.merge(typesNamedIn(fileText(entry.path())));
        }
    }
    return types;
}

Names listed() {
    Names names;
    for (const css::uno::Type& type : clientTypes()) {
        names.insert(toUtf8(type.getTypeName()));
    }
    return names;
}

class UnoTypesTest : public ::testing::Test {
  protected:
    // The local runtime knows every type of the office by name.
    static void SetUpTestSuite() { prepareUno(); }
};

TEST_F(UnoTypesTest, EveryTypeTheClientNamesIsAskedForBeforeItsThreads) {
    const Names named = typesNamedInTheClient();
    const Names list = listed();
    for (const std::string& type : named) {
        EXPECT_TRUE(list.contains(type)) << type << " is named in " << TARVO_CALC_SOURCES
                                         << " but missing from clientTypes() in UnoTypes.cpp";
    }
}

TEST_F(UnoTypesTest, TheSourcesAreReadForEveryKindOfTypeAndOnlyForTypes) {
    const Names named = typesNamedIn(R"(
        namespace frame = css::frame;
        css::uno::Reference<frame::XModel> model(document, css::uno::UNO_QUERY);
        css::uno::Sequence<css::beans::PropertyValue> properties;
        css::lang::Locale locale;  // tarvo::frame::XModel is no UNO name
        if (cell->getType() == css::table::CellContentType_VALUE) {}
        catch (const css::connection::NoConnectException&) {}
        css::uno::Sequence<sal_Int8> id;
        window->setPosSize(0, 0, 0, 0, css::awt::PosSize::X);
        auto desktop = css::frame::Desktop::create(context);
    )");
    EXPECT_THAT(named,
                ::testing::ElementsAre("[]byte", "[]com.sun.star.beans.PropertyValue",
                                       "com.sun.star.beans.PropertyValue",
                                       "com.sun.star.connection.NoConnectException",
                                       "com.sun.star.frame.XModel", "com.sun.star.lang.Locale",
                                       "com.sun.star.table.CellContentType"));
    EXPECT_GT(typesNamedInTheClient().size(), 30u);
}

}  // namespace
}  // namespace tarvo::calc
