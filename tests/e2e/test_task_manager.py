"""按钮3 switches the Task Manager policy under the three roots and starts Task Manager."""
import subprocess
import time

from quimbrel_e2e import QuimbrelCase, gbk_hex, main

KEY = 'Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System'
ROOTS = ('HKCR', 'HKCC', 'HKCU')


def reg(*args):
    return subprocess.run(['wine', 'reg', *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          encoding='gbk', errors='replace', timeout=60)  # reg speaks the ANSI code page


def policy(root):
    """DisableTaskMgr under a root, read back from the same prefix: None when missing."""
    done = reg('query', f'{root}\\{KEY}', '/v', 'DisableTaskMgr')
    for line in done.stdout.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[0] == 'DisableTaskMgr':
            return fields[1], int(fields[2], 16)
    return None


class TaskManagerToggle(QuimbrelCase):
    tools = ('taskmgr.exe',)

    def setUp(self):
        super().setUp()
        for root in ROOTS:
            reg('delete', f'{root}\\{KEY}', '/v', 'DisableTaskMgr', '/f')

    def tearDown(self):
        super().tearDown()
        for root in ROOTS:
            reg('delete', f'{root}\\{KEY}', '/v', 'DisableTaskMgr', '/f')

    def caption(self, button):
        return {c['child']: c for c in self.probe.children(self.hwnd)}[button]['caption']

    def wait_for(self, what, check, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if check():
                return
            time.sleep(0.2)
        self.fail(f'never: {what}')

    def policies(self):
        return [policy(root) for root in ROOTS]

    def test_clicks_start_forbid_and_clear(self):
        self.hwnd = self.start()
        button = {c['id']: c['child'] for c in self.probe.children(self.hwnd)}['1003']
        on, off = gbk_hex('任务管理器开'), gbk_hex('任务管理器关')
        self.assertEqual(self.caption(button), on)
        folder = 'Z:' + self.work.replace('/', '\\')

        # Policy clear: Task Manager starts, from Quimbrel's folder, and the caption turns.
        self.probe.run('click', button)
        self.assertEqual(self.stub_calls(1), [('taskmgr.exe', 'taskmgr', folder)])
        self.wait_for('caption off', lambda: self.caption(button) == off)
        self.assertEqual(self.policies(), [None, None, None], 'nothing written')

        # Forbid: 1 under the three roots, the keys made where missing.
        self.probe.run('click', button)
        self.wait_for('1 everywhere', lambda: self.policies() == [('REG_DWORD', 1)] * 3)
        self.assertEqual(self.caption(button), on)

        # 1 everywhere: cleared in all three and started. The clicks are handled in order,
        # so once this start has come, one from the click before would have come first.
        self.probe.run('click', button)
        self.wait_for('0 everywhere', lambda: self.policies() == [('REG_DWORD', 0)] * 3)
        self.assertEqual(len(self.stub_calls(2)), 2)
        time.sleep(1)
        self.assertEqual(self.stub_calls(2), [('taskmgr.exe', 'taskmgr', folder)] * 2,
                         'the forbidding click must start nothing')
        self.assertEqual(self.caption(button), off)
        self.assertIsNone(self.process.poll())

    def test_start_up_caption_is_on_whatever_the_policy(self):
        reg('add', f'HKCU\\{KEY}', '/v', 'DisableTaskMgr', '/t', 'REG_DWORD', '/d', '1', '/f')
        self.hwnd = self.start()
        button = {c['id']: c['child'] for c in self.probe.children(self.hwnd)}['1003']
        self.assertEqual(self.caption(button), gbk_hex('任务管理器开'))
        # A mix of 0 and 1: the click only turns the caption.
        self.probe.run('click', button)
        self.wait_for('caption off', lambda: self.caption(button) == gbk_hex('任务管理器关'))
        self.assertEqual(self.policies(), [None, None, ('REG_DWORD', 1)])


if __name__ == '__main__':
    main()
