"""WM_CLOSE and Esc each end the process with exit code 0."""
from quimbrel_e2e import QuimbrelCase, main


class Close(QuimbrelCase):
    def test_wm_close_ends_with_zero(self):
        hwnd = self.start()
        self.probe.run('close', hwnd)
        self.assertEqual(self.wait_exit(), 0)

    def test_esc_on_a_button_ends_with_zero(self):
        hwnd = self.start()
        button = {c['id']: c['child'] for c in self.probe.children(hwnd)}['1005']
        self.probe.run('key', button, 0x1B)
        self.assertEqual(self.wait_exit(), 0)


if __name__ == '__main__':
    main()
