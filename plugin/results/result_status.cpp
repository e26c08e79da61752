#include "plugin/results/result_status.h"

namespace plugin {

int32_t ReadResultStatus(const host::IXmlElement& element) {
    int32_t status = ersNotEvaluated;
    try {
        status = host::XmlFactory().ReadStatusElement(element);
    } catch (...) {
        return ersNotEvaluated;
    }
    return status >= ersNotEvaluated && status <= ersNotApplicable ? status : ersNotEvaluated;
}

}  // namespace plugin
