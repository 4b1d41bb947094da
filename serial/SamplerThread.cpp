#include "serial/SamplerThread.h"

#include "serial/LineSampler.h"
#include "serial/SampleSchedule.h"

#include <pthread.h>
#include <unistd.h>

SamplerThread::SamplerThread(LineSampler& sampler, SampleSchedule& schedule)
    : schedule_(schedule), threadId_(started_.get_future().share()), thread_([this, &sampler] {
          pthread_setname_np(pthread_self(), "tavorin-sampler"); // for top -H and ps
          started_.set_value(gettid());
          while (schedule_.waitNext()) {
              sampler.sampleOnce();
          }
      }) {}

SamplerThread::~SamplerThread() {
    schedule_.stop();
    thread_.join();
}

long long SamplerThread::threadId() {
    return threadId_.get();
}
