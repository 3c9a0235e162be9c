#include "tests/aax/EffectTestSupport.h"

#include "hosts/aax/proxies/AAX_VAutomationDelegate.h"

#include <cmath>
#include <memory>

using fakeaax::FakeHost;
using Strings = std::vector<std::string>;

namespace
{
using Float = AAX_CParameter<float>;
using Bool = AAX_CParameter<bool>;

std::string normalized(const AAX_IParameter& parameter)
{
    return numberText(parameter.GetNormalizedValue());
}

// Each row gets a fresh host whose automation it may attach; it answers what it observed, and
// the host's calls are compared in full.
TEST(TypedParameter, BehavesAsTheHostSeesIt)
{
    struct Row
    {
        const char* name;
        std::function<std::string(AAX_IAutomationDelegate&)> run;
        std::string observed;
        Strings hostCalls = {};
    };
    // clang-format off
    const Row rows[] = {
        {"identifier cut to 31 characters", [](auto&) {
            return std::string(Float(std::string(40, 'i').c_str(), "n", 0, AAX_CLinearTaperDelegate<float, 0>(0, 1),
                                     AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true).Identifier()); }, std::string(31, 'i')},
        {"new: 128 steps, type 1, default constrained", [](auto&) { Float p("p", "n", 1.5f, AAX_CLinearTaperDelegate<float, 0>(0, 1),
                                     AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
            return std::to_string(p.GetNumberOfSteps()) + " " + std::to_string(p.GetType()) + " " + normalized(p); }, "128 1 1"},
        {"without a delegate a value is set at once", [](auto&) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0));
            p->SetNormalizedValue(0.25); return normalized(*p); }, "0.25"},
        {"with a delegate a value is only asked for", [](auto& a) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0));
            p->SetAutomationDelegate(&a); p->SetNormalizedValue(0.25); const auto before = normalized(*p);
            p->UpdateNormalizedValue(0.25); p->UpdateNormalizedValue(0.25); return before + " " + normalized(*p); }, "0 0.25",
            {"automation1.3(\"0\")", "automation1.7(\"0\")", "automation1.5(\"0\", 0.25)", "automation1.8(\"0\")",
             "automation1.6(\"0\", 0.25)", "automation1.4(\"0\")"}},
        {"a bool asks for 1 and stores true", [](auto& a) { std::unique_ptr<Bool> p(makeBoolParameter("b", "n"));
            p->SetAutomationDelegate(&a); p->SetNormalizedValue(0.3); p->UpdateNormalizedValue(0.3); bool on = false;
            p->GetValueAsBool(&on); return std::string(on ? "true" : "false"); }, "true",
            {"automation1.3(\"b\")", "automation1.7(\"b\")", "automation1.5(\"b\", 1)", "automation1.8(\"b\")",
             "automation1.6(\"b\", 0.3)", "automation1.4(\"b\")"}},
        {"NaN refused; infinity only where the taper would not clamp it", [](auto& a) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0.5f));
            p->SetAutomationDelegate(&a); const bool typed = p->SetValueWithFloat(NAN); p->SetNormalizedValue(NAN); p->UpdateNormalizedValue(NAN);
            p->UpdateNormalizedValue(INFINITY); p->SetNormalizedDefaultValue(NAN); p->SetNormalizedValue(INFINITY); // clamped to 1
            return std::to_string(typed) + " " + normalized(*p) + " " + numberText(p->GetNormalizedDefaultValue()); }, "0 0.5 0.5",
            {"automation1.3(\"0\")", "automation1.7(\"0\")", "automation1.5(\"0\", 1)", "automation1.8(\"0\")", "automation1.4(\"0\")"}},
        {"a bool refuses NaN and infinity alike", [](auto& a) { std::unique_ptr<Bool> p(makeBoolParameter("b", "n")); p->SetAutomationDelegate(&a);
            p->SetNormalizedDefaultValue(1.0); p->SetNormalizedDefaultValue(NAN); p->SetNormalizedValue(NAN); p->UpdateNormalizedValue(NAN);
            p->UpdateNormalizedValue(INFINITY); return normalized(*p) + " " + numberText(p->GetNormalizedDefaultValue()); }, "0 1",
            {"automation1.3(\"b\")", "automation1.4(\"b\")"}},
        {"steps", [](auto&) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0)); std::string seen;
            for (const auto& [steps, value] : {std::pair{2u, 0.4999}, {2u, 0.5}, {128u, 1.0}, {0u, 1.0}, {1u, 1.0}}) {
                p->SetNumberOfSteps(steps); p->SetNormalizedValue(value); seen += std::to_string(p->GetStepValue()) + " "; }
            p->SetNumberOfSteps(1); p->SetStepValue(0); seen += normalized(*p);
            p->SetNumberOfSteps(11); p->SetStepValue(200); return seen + " " + normalized(*p); }, "0 1 127 0 0 1 1"},
        {"text to value", [](auto&) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0)); double v = -1;
            const bool beyond = p->GetNormalizedValueFromString("1.5", &v); const auto wrote = numberText(v);
            const bool garbage = p->GetNormalizedValueFromString("x", &v);
            return std::to_string(beyond) + " " + wrote + " " + std::to_string(garbage) + " " + numberText(v); }, "0 1 0 1"},
        {"value to text: only the normalized form applies its limit", [](auto&) {
            std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0.5f)); AAX_CString full, cut;
            p->GetValueString(2, &full); p->GetStringFromNormalizedValue(0.5, 2, cut);
            return std::string(full.Get()) + " " + cut.Get(); }, "0.500 0"},
        {"shortened names", [](auto&) { std::unique_ptr<Float> p(makeFloatParameter("0", "Twelve chars", 0));
            p->AddShortenedName("Four"); p->AddShortenedName("Eight ch"); std::string seen;
            for (int32_t limit : {12, 9, 5, 3, -1}) seen += std::string(p->ShortenedName(limit).Get()) + "|";
            return seen; }, "Twelve chars|Eight ch|Four|Four|Twelve chars|"},
        {"typed access of the wrong type", [](auto&) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0.5f));
            std::unique_ptr<Bool> b(makeBoolParameter("b", "n")); bool flag = true; double wide = 7;
            const bool any = p->GetValueAsBool(&flag) || p->GetValueAsDouble(&wide) || p->SetValueWithDouble(1.0) ||
                             b->SetValueWithFloat(1.0f);
            return std::to_string(any) + " " + std::to_string(flag) + " " + numberText(wide) + " " + normalized(*p); }, "0 1 7 0.5"},
        {"taper replaced, value or position kept", [](auto&) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0.5f));
            p->SetTaperDelegate(AAX_CLinearTaperDelegate<float, 0>(0, 2), true); const auto kept = normalized(*p);
            p->SetTaperDelegate(AAX_CLinearTaperDelegate<float, 0>(0, 1), false); float real = 0; p->GetValueAsFloat(&real);
            p->SetTaperDelegate(AAX_CBinaryTaperDelegate<bool>(), false);
            return kept + " " + numberText(real) + " " + normalized(*p); }, "0.25 0.25 0.25"},
        {"display replaced, current value reported", [](auto& a) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0.5f));
            p->SetAutomationDelegate(&a); p->SetDisplayDelegate(AAX_CNumberDisplayDelegate<float, 3u, 0u>()); return std::string(); }, "",
            {"automation1.3(\"0\")", "automation1.6(\"0\", 0.5)", "automation1.4(\"0\")"}},
        {"a new delegate: the old one unregisters", [](auto& a) { std::unique_ptr<Float> p(makeFloatParameter("0", "n", 0));
            p->SetAutomationDelegate(&a); p->SetAutomationDelegate(nullptr); return std::string(); }, "",
            {"automation1.3(\"0\")", "automation1.4(\"0\")"}},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeHost host;
        {
            AAX_VAutomationDelegate automation(static_cast<IACFUnknown*>(host.newInstanceObject()));
            host.clearLog();
            EXPECT_EQ(row.run(automation), row.observed);
            EXPECT_EQ(host.calls(), row.hostCalls);
        }
        EXPECT_EQ(host.unbalanced(), Strings{});
    }
}

// Lookups by identifier, index and position are answered through the effect's slots; here only
// what the manager decides: who owns a parameter and which delegate it gets.
TEST(ParameterManager, OwnsParametersInOrderAndLeavesDuplicatesToTheCaller)
{
    FakeHost host;
    {
        AAX_VAutomationDelegate automation(static_cast<IACFUnknown*>(host.newInstanceObject()));
        AAX_CParameterManager manager;
        manager.AddParameter(makeFloatParameter("early", "n", 0));
        manager.Initialize(&automation);
        manager.AddParameter(makeFloatParameter("a", "n", 0));
        std::unique_ptr<Float> duplicate(makeFloatParameter("a", "other", 0));
        manager.AddParameter(duplicate.get());
        manager.AddParameter(nullptr);
        EXPECT_EQ(manager.NumParameters(), 2);
        EXPECT_EQ(manager.GetParameterByID("a")->Name(), AAX_CString("n"));

        manager.RemoveAllParameters();
        EXPECT_EQ(manager.GetParameterByID("a"), nullptr);
        manager.AddParameter(makeFloatParameter("later", "n", 0));
        // The parameter added before Initialize and the rejected one never reached the host.
        EXPECT_EQ(host.calls(), (Strings{"automation1.3(\"a\")", "automation1.4(\"a\")",
                                         "automation1.3(\"later\")"}));
    }
    EXPECT_EQ(host.unbalanced(), Strings{});
}
} // namespace
