#include "plugin/results/result_status.h"

#include "platform/values/pass_over.h"

namespace plugin {

int32_t ReadResultStatus(const host::IXmlElement& element) {
    const int32_t status =
        plat::PassOver([&] { return host::XmlFactory().ReadStatusElement(element); }, int32_t{ersNotEvaluated});
    return status >= ersNotEvaluated && status <= ersNotApplicable ? status : ersNotEvaluated;
}

}  // namespace plugin
