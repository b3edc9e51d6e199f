#pragma once

#include <QByteArray>
#include <QString>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, no new file can be made in the folder, though its files stay writable. Tests
// run as root, whom permission bits do not stop: the right to pass over them is dropped from the
// effective set meanwhile (this thread only) and taken back afterwards. active() is false when
// the folder could not be made read-only this way.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path.toLocal8Bit())
    {
        struct stat info {};
        if (stat(path_.constData(), &info) != 0)
            return;
        mode_ = info.st_mode & 07777;
        if (chmod(path_.constData(), 0555) != 0)
            return;
        changedMode_ = true;
        if (geteuid() != 0) {
            active_ = true;
            return;
        }
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &header_, before_) != 0)
            return;
        __user_cap_data_struct dropped[2] = {before_[0], before_[1]};
        dropped[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        droppedCaps_ = syscall(SYS_capset, &header_, dropped) == 0;
        active_ = droppedCaps_;
    }
    ~ReadOnlyFolder()
    {
        if (droppedCaps_)
            syscall(SYS_capset, &header_, before_);
        if (changedMode_)
            chmod(path_.constData(), mode_);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool active() const { return active_; }

private:
    QByteArray path_;
    mode_t mode_ = 0755;
    bool changedMode_ = false;
    bool droppedCaps_ = false;
    bool active_ = false;
    __user_cap_header_struct header_{};
    __user_cap_data_struct before_[2]{};
};
