#include "convert/EncoderJob.h"

EncoderJob& EncoderJob::Instance() {
  static EncoderJob job;
  return job;
}

EncoderJob::EncoderJob() : job_(CreateJobObjectW(nullptr, nullptr)) {
  if (!job_) return;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
  if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof limits))
    job_.reset();
}

bool EncoderJob::Assign(HANDLE process) {
  return job_ && AssignProcessToJobObject(job_.get(), process);
}
